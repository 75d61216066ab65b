#pragma once

#include <cstddef>
#include <functional>

namespace kerfline {

// Calls body(i) once for every i below count, spread over the processor's cores, and returns
// when every call has returned. The calls must be independent of one another; each writes its
// own result slot, so what comes out does not depend on how the work was spread. Fewer than
// `grain` items run on the calling thread. The first exception a call throws is rethrown here.
void parallelFor(std::size_t count, const std::function<void(std::size_t)>& body, std::size_t grain = 64);

}  // namespace kerfline
