#pragma once

#include <cstdint>
#include <string_view>

namespace kerfline {

// Design kinds, as the project window passes them to Thpgl::OpenDesign.
inline constexpr std::int32_t kDesignUnknown = 0;
inline constexpr std::int32_t kDesignHpgl = 1;
inline constexpr std::int32_t kDesignDxf = 2;
inline constexpr std::int32_t kDesignEps = 3;  // EPS and Illustrator files

// The kind of a design from its extension, ignoring case: ".PLT" HPGL, ".DXF" DXF, ".AI" and
// ".EPS" EPS; anything else is unknown.
std::int32_t designTypeOf(std::string_view path);

}  // namespace kerfline
