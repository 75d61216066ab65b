#include "designfiles/design_type.h"

#include "base/switches.h"

namespace kerfline {

std::int32_t designTypeOf(std::string_view path)
{
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return kDesignUnknown;
    const std::string extension = toUpperAscii(path.substr(dot));
    if (extension == ".PLT")
        return kDesignHpgl;
    if (extension == ".DXF")
        return kDesignDxf;
    if (extension == ".AI" || extension == ".EPS")
        return kDesignEps;
    return kDesignUnknown;
}

}  // namespace kerfline
