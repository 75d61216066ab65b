#pragma once

// Plain full-scan versions of the planning steps the program computes in faster ways: nesting,
// lead-in candidates, touch linking and propagation, neighbour lists, the four connector
// searches and their driver. Every pair of figures is scanned in the plain order of the rules;
// they are the reference the program's results are compared with.

#include "project/connector_search.h"
#include "project/tmdichild.h"

#include <vector>

namespace kerfline::testing {

void referenceNesting(TMDIChild& project);
std::vector<LeadIn> referenceLeadIns(const TMDIChild& project);
void referenceTouchLinking(TMDIChild& project);
void referencePropagation(TMDIChild& project);
void referenceNeighbourLists(TMDIChild& project);

class ReferenceSearch : public ConnectorSearch {
public:
    void begin(TMDIChild&) override {}
    bool connectInside(TMDIChild& project, std::int32_t container) override;
    bool connectInsideCorners(TMDIChild& project, std::int32_t container) override;
    bool connectGlobalCorners(TMDIChild& project) override;
    bool connectGlobal(TMDIChild& project) override;
};

bool referenceConnectRemaining(TMDIChild& project, ConnectorSearch& search);
PreparationReport referenceCiecie(TMDIChild& project);

}  // namespace kerfline::testing
