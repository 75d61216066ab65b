#pragma once

namespace kerfline {

// Exact products of coordinate differences: two 32-bit coordinates differ by up to 2^32, so a
// product of two differences needs 64 bits plus a sign, and a cost of the connector search
// (a squared distance times two weights) more still.
__extension__ typedef __int128 WideInt;

}  // namespace kerfline
