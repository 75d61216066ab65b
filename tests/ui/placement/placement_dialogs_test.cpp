// The dialogs of placement, duplication and arch cutting, on the virtual cutter where they move
// the machine.
#include "config/ui/numeric_edit.h"
#include "placement/dpl_file.h"
#include "placement/placement_rig.h"
#include "placement/ui/placement_dialogs.h"
#include "support/screenshot.h"
#include "ui/cutting/panel_rig.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace kerfline::ui {
namespace {

using testing::child;
using testing::PanelRig;

void type(NumericSpinBox* field, const QString& text)
{
    field->lineEdit()->setText(text);
    field->commit();
}

TEST(MaterialPlacementDialog, StartMovesTheArmsWhereThePathFitsThenPlacesTheBlock)
{
    PanelRig rig;
    rig.home();
    testing::IndependentWindows windows(rig.context, rig.dir.write("squares.plt", testing::kTwoSquares));
    ASSERT_TRUE(windows.mixed);
    TfFigNaMat dialog(rig.context, &rig.session->protocol, *windows.mix);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), qs(rig.context.Text("Independent_start_dialog", "fFigNaMat.caption")));
    EXPECT_FALSE(dialog.feuRozstawRamion->isEnabled());
    EXPECT_FALSE(dialog.TimerDlgFigNaMat->isActive());
    type(dialog.feuSzerMat, "400");
    type(dialog.feuOdlMatOdFrontu, "100");
    testing::saveScreenshot(dialog, "material_placement");

    // From where the arms stand after homing the path leaves the machine: the operator lets them
    // move, then presses Start again.
    rig.host.answers = {AnswerYes};
    QTest::mouseClick(dialog.btnDalej, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(rig.cutter.controller().outputOn(2));
    QTest::mouseClick(dialog.btnDalej, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << (rig.host.messages.empty() ? "" : rig.host.messages.back().text);
    EXPECT_EQ(windows.mix->figures[0].secondPoints.size(), windows.mix->figures[0].points.size());
    EXPECT_EQ(rig.context.job.placement.materialWidth, 400);
}

TEST(MaterialPlacementDialog, RepeatedJobsPressStartByThemselves)
{
    PanelRig rig(machine::kDefaultVirtualProduct, {"REPEAT"});
    testing::IndependentWindows windows(rig.context, rig.dir.write("squares.plt", testing::kTwoSquares));
    rig.context.job.jobCounter = 2;
    TfFigNaMat dialog(rig.context, &rig.session->protocol, *windows.mix);
    dialog.show();
    EXPECT_TRUE(dialog.TimerDlgFigNaMat->isActive());
    EXPECT_EQ(dialog.TimerDlgFigNaMat->interval(), 500);
}

TEST(TwoWireStartDialog, FieldsStartWhereTheWiresStandAndARefusedPointKeepsTheDialogOpen)
{
    PanelRig rig("Pr 1200", {"MachineName'Pr 1200'"});
    rig.home();
    rig.session->motion.gotopoint(true, 0, 150, 150, 500, 450, 0, 0);
    const char* square = "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;";
    TMDIChild front(rig.context);
    TMDIChild side(rig.context);
    for (TMDIChild* window : {&front, &side}) {
        window->fileType = 1;
        window->Load(rig.dir.write("square.plt", square), 255);
    }
    TfPrStartDlg dialog(rig.context, *rig.session, front, side);
    dialog.show();
    EXPECT_DOUBLE_EQ(dialog.feuFx->GetValue(), 150);
    EXPECT_DOUBLE_EQ(dialog.feuFy->GetValue(), 500);
    EXPECT_DOUBLE_EQ(dialog.feuBy->GetValue(), 450);
    testing::saveScreenshot(dialog, "two_wire_start");

    type(dialog.feuBx, QString::number(rig.context.machine.secondWireLimitX - 50));
    QTest::mouseClick(dialog.btnDalej, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.feuBx->hasFocus() || !dialog.isActiveWindow());
    ASSERT_FALSE(rig.host.messages.empty());

    type(dialog.feuBx, "200");
    type(dialog.feuBy, "400");
    type(dialog.feuFx, "300");
    type(dialog.feuFy, "250");
    QTest::mouseClick(dialog.btnDalej, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(rig.context.job.frontWireStart.x, 300);
    EXPECT_FALSE(rig.cutter.controller().outputOn(2));
}

TEST(DuplicationDialog, ExecuteMakesTheSheetAndRemembersItsParameters)
{
    PanelRig rig;
    TMDIChild pattern(rig.context);
    pattern.fileType = 1;
    const std::string path = rig.dir.write("part.plt", "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;");
    ASSERT_EQ(pattern.Load(path, 255), LoadOutcome::Opened);
    std::vector<std::unique_ptr<TMDIChild>> created;
    std::string createdCaption;
    const auto create = [&](const std::string& caption) -> TMDIChild& {
        createdCaption = caption;
        created.push_back(std::make_unique<TMDIChild>(rig.context));
        return *created.back();
    };
    {
        TfParDup dialog(rig.context, pattern, path, create);
        dialog.show();
        // A new pattern: two elements in one row, offsets of the size plus 10 mm.
        EXPECT_DOUBLE_EQ(dialog.feIloscElemWWierszu->GetValue(), 2);
        EXPECT_DOUBLE_EQ(dialog.feIloscWierszy->GetValue(), 1);
        EXPECT_DOUBLE_EQ(dialog.feuPrzesuniecieMdzyElem->GetValue(), 110);
        EXPECT_DOUBLE_EQ(dialog.feuOdlMdzyEl_i_laczPionowym->GetValue(), 5);
        type(dialog.feIloscWierszy, "3");
        EXPECT_EQ(dialog.lWysCalegoProj->text(), QStringLiteral("330.0 mm"));
        testing::saveScreenshot(dialog, "duplication");
        QTest::mouseClick(dialog.btnZatwierdz, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(createdCaption, duplicationFilePath(path));
    EXPECT_GE(created[0]->figures.size(), 7u);  // six copies and the line

    TfParDup again(rig.context, pattern, path, create);
    EXPECT_DOUBLE_EQ(again.feIloscWierszy->GetValue(), 3);
}

TEST(ArchCuttingDialog, GenerateShowsTheStripAndMarksAnOverlappingOne)
{
    PanelRig rig;
    TMDIChild source(rig.context);
    source.fileType = 1;
    ASSERT_EQ(source.Load(rig.dir.write("bow.plt", "IN;SP1;PU0,0;PD1000,500,2000,600,3000,500,4000,0;PU;"), 255),
              LoadOutcome::Opened);
    std::vector<std::unique_ptr<TMDIChild>> windows;
    std::map<const TMDIChild*, std::string> captions;
    int closed = 0;
    TfZaginacz dialog(
        rig.context, source, "bow.plt",
        [&](const std::string& caption) -> TMDIChild& {
            windows.push_back(std::make_unique<TMDIChild>(rig.context));
            captions[windows.back().get()] = caption;
            return *windows.back();
        },
        [&](TMDIChild&) { ++closed; });
    dialog.renameResult = [&](TMDIChild& window, const std::string& caption) { captions[&window] = caption; };
    dialog.show();
    EXPECT_EQ(dialog.trbReductionRatio->value(), 1);
    type(dialog.feuGlebokoscNaciec, "500");
    testing::saveScreenshot(dialog, "arch_cutting");
    QTest::mouseClick(dialog.btnGeneruj, Qt::LeftButton);
    ASSERT_NE(dialog.resultWindow, nullptr);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(captions[dialog.resultWindow], "!!! " + rig.context.Text("Arch_cutting", "blednyPrzebieg") + " !!!  bow.plt");

    type(dialog.feuGlebokoscNaciec, "5");
    QTest::mouseClick(dialog.btnGeneruj, Qt::LeftButton);
    EXPECT_EQ(closed, 1);  // the wrong strip's window
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(captions[dialog.resultWindow], "bow.plt : " + rig.context.Text("Arch_cutting", "caption"));
    EXPECT_EQ(dialog.resultWindow->figures[0].points.size(), 11u);
}

}  // namespace
}  // namespace kerfline::ui
