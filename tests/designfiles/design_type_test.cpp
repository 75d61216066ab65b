#include "designfiles/design_type.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

TEST(DesignType, ComesFromTheExtensionIgnoringCase)
{
    const struct {
        const char* path;
        std::int32_t type;
    } cases[] = {
        {"/a/star.plt", kDesignHpgl},   {"STAR.PLT", kDesignHpgl},     {"b.Dxf", kDesignDxf},
        {"c.ai", kDesignEps},           {"d.EPS", kDesignEps},         {"e.hpgl", kDesignUnknown},
        {"noextension", kDesignUnknown}, {"dir.plt/file", kDesignUnknown}, {"x.plt.bak", kDesignUnknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(designTypeOf(c.path), c.type) << c.path;
}

}  // namespace
}  // namespace kerfline
