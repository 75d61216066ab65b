#pragma once

#include <array>
#include <cstdint>

namespace kerfline {

// The eight axis registers of a cut program, by axis number. Axes 0, 1, 4, 5 and 3 hold the last
// programmed position in hundredths of a millimetre, axes 2, 6 and 7 the steps sent so far. The
// machine stands at Round(register × resolution) steps on every linear axis.
using AxisRegisters = std::array<std::int32_t, 8>;

}  // namespace kerfline
