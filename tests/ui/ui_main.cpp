// Widget tests share one QApplication.
#include "model3d/ui/traw_view.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests happens at build time, where there may be no display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    // The 3D view draws with the fixed-function pipeline, as in the program.
    kerfline::ui::TRAWview::requestCompatibilityContext();
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
