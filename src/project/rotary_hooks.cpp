#include "project/tmdichild.h"

namespace kerfline {

// The rotary and turning preparations belong to their own planners; until they exist a
// project in those modes is loaded without a preparation.
void TMDIChild::ciecie_obrotowe() {}

void TMDIChild::toczenie() {}

}  // namespace kerfline
