// The About box: program version and the machine read from the virtual cutter, "no data"
// without a controller, the dealer edition's logo and address, and the ways it closes.
#include "aids/ui/about_box.h"
#include "cutting/job_rig.h"
#include "base/version.h"
#include "support/screenshot.h"

#include <QImage>
#include <QLabel>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

using kerfline::testing::JobRig;
using kerfline::testing::saveScreenshot;

QLabel* child(const QWidget& box, const char* name)
{
    return box.findChild<QLabel*>(name);
}

std::string text(const QWidget& box, const char* name)
{
    const QLabel* l = child(box, name);
    return l != nullptr ? l->text().toStdString() : std::string("<missing>");
}

TEST(AboutBox, ShowsTheVersionAndTheMachine)
{
    JobRig rig;
    AboutBox box(rig.context, *rig.session);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(box.windowTitle().toStdString(), rig.context.Text("About", "Caption"));
    EXPECT_EQ(text(box, "newVer"), kProgramVersion.full());
    EXPECT_FALSE(text(box, "ver").empty());
    EXPECT_EQ(text(box, "prod"), "Quorvant");
    EXPECT_EQ(text(box, "model"), "Qd 1200");
    EXPECT_EQ(text(box, "obszar"), "1200.0x600.0 mm");
    EXPECT_EQ(text(box, "szerokosc"), "1000.0 mm");
    EXPECT_EQ(text(box, "ARMwersja"), "4.2");
    EXPECT_TRUE(child(box, "szerokosc")->isVisible());
    EXPECT_TRUE(child(box, "prod")->isVisible());
    EXPECT_TRUE(child(box, "lWWW")->isVisible());
    EXPECT_FALSE(box.findChild<QWidget*>("pLogo")->isVisible());
    saveScreenshot(box, "about_box");

    // A click on the box, or on its machine group, closes it.
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(box.isVisible());
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.findChild<QWidget*>("GroupBox1"), Qt::LeftButton, {}, QPoint(20, 40));
    EXPECT_FALSE(box.isVisible());
}

TEST(AboutBox, NoDataWithoutAControllerAndNoWidthRowForOtherFamilies)
{
    JobRig rig("KK45");
    AboutBox box(rig.context, *rig.session);
    rig.cutter.unplug();
    rig.host.runPosted();
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    for (const char* value : {"prod", "model", "obszar", "szerokosc", "przebieg", "ilpl", "ARMwersja"})
        EXPECT_EQ(text(box, value), rig.context.Text("About", "brakDanych")) << value;
    saveScreenshot(box, "about_box_no_controller");
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());

    rig.cutter.replug();
    rig.host.runPosted();
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(text(box, "model"), "KK45");
    EXPECT_FALSE(child(box, "szerokosc")->isVisible());
}

TEST(AboutBox, DealerEditionShowsItsLogoAndAddressWithoutTheVendorRow)
{
    JobRig rig;
    rig.context.programDirectory = rig.dir.str();
    rig.context.dealerEdition = "TALMOR";
    QImage logo(160, 48, QImage::Format_RGB32);
    logo.fill(QColor(30, 90, 160));
    ASSERT_TRUE(logo.save(QString::fromStdString(rig.dir.str() + "TALMOR.bmp")));

    AboutBox box(rig.context, *rig.session);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_TRUE(box.findChild<QWidget*>("pLogo")->isVisible());
    EXPECT_FALSE(child(box, "dealer")->pixmap().isNull());
    EXPECT_EQ(child(box, "dealer")->toolTip().toStdString(), kTalmorWebAddress);
    EXPECT_TRUE(child(box, "lWWW")->text().contains(kTalmorWebAddress));
    EXPECT_FALSE(child(box, "prod")->isVisible());
    EXPECT_TRUE(child(box, "model")->isVisible());
    saveScreenshot(box, "about_box_dealer");
}

}  // namespace
}  // namespace kerfline::ui
