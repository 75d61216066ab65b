// The kerf calibration dialog: the kerf of the measured sizes shown as they are typed, refused
// sizes that cannot come from the test piece, the test piece opened for cutting, the kerf stored
// on OK and kept on Cancel.
#include "aids/ui/kerf_calibration_dialog.h"
#include "cutting/job_rig.h"
#include "support/screenshot.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

using kerfline::testing::JobRig;
using kerfline::testing::saveScreenshot;

TEST(KerfCalibrationDialog, ShowsTheKerfOfTheMeasuredSizesAndStoresItOnOk)
{
    JobRig rig;
    int opened = 0;
    KerfCalibrationDialog dialog(rig.context, [&] { ++opened; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(dialog.findChild<QPushButton*>("btnProbka"), Qt::LeftButton);
    EXPECT_EQ(opened, 1);

    // The nominal sizes give no kerf at all.
    EXPECT_EQ(dialog.resultLabel()->text().toStdString(),
              "From the outer size: 0.00 mm, from the hole: 0.00 mm, kerf: 0.00 mm");
    dialog.outerField()->setValue(49.1);
    dialog.innerField()->setValue(20.7);
    EXPECT_EQ(dialog.resultLabel()->text().toStdString(),
              "From the outer size: 0.90 mm, from the hole: 0.70 mm, kerf: 0.80 mm");
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    saveScreenshot(dialog, "kerf_calibration");

    dialog.innerField()->setValue(60);
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    EXPECT_NE(dialog.resultLabel()->text().toStdString().find("cannot come from the test piece"), std::string::npos);
    saveScreenshot(dialog, "kerf_calibration_refused");

    dialog.innerField()->setValue(20.7);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(rig.context.configuration.number(Param::kerf), 0.8);
}

TEST(KerfCalibrationDialog, CancelKeepsTheKerf)
{
    JobRig rig;
    rig.context.configuration.setNumber(Param::kerf, 0.4);
    KerfCalibrationDialog dialog(rig.context, {});
    dialog.show();
    dialog.outerField()->setValue(48.0);
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_DOUBLE_EQ(rig.context.configuration.number(Param::kerf), 0.4);
}

}  // namespace
}  // namespace kerfline::ui
