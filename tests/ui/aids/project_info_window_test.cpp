// The project information window on a loaded sample: its labels show the project's values, it
// recomputes them when it paints, and showFor runs it modally until OK.
#include "aids/project_information.h"
#include "aids/ui/project_info_window.h"
#include "config/number_text.h"
#include "cutting/program_estimate.h"
#include "cutting/job_rig.h"
#include "designfiles/design_type.h"
#include "project/tmdichild.h"
#include "project/ui/project_window.h"
#include "support/screenshot.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

using kerfline::testing::JobRig;
using kerfline::testing::saveScreenshot;

std::string label(const QWidget& window, const char* name)
{
    const auto* l = window.findChild<QLabel*>(name);
    return l != nullptr ? l->text().toStdString() : std::string("<missing>");
}

class ProjectInfoWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.context.configuration.settings.configPath = rig.dir.str() + "foam.kcc";
        rig.context.configuration.setChoice(Param::Mode, Mode2D);
        rig.context.configuration.setNumber(Param::skala, 100);
        rig.context.configuration.setNumber(Param::szybkoscObrobki, 600);
        path = std::string(KERFLINE_SOURCE_DIR) + "samples/gear.plt";
        project = std::make_unique<TMDIChild>(rig.context);
        project->fileType = designTypeOf(path);
        project->Load(path, 255);
    }

    JobRig rig;
    std::string path;
    std::unique_ptr<TMDIChild> project;
};

TEST_F(ProjectInfoWindowTest, ShowsTheSamplesValues)
{
    ASSERT_FALSE(project->figures.empty());
    ASSERT_GT(project->cutLength, 0.0);
    ProjectInfoWindow window(rig.context, *rig.session);
    window.setProject(project.get());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(window.windowTitle().toStdString(), "Project information");
    EXPECT_EQ(label(window, "fname"), path);
    EXPECT_EQ(label(window, "konfigname"), rig.dir.str() + "foam.kcc");
    // Sizes at scale 100: 40 plotter units a millimetre.
    EXPECT_EQ(label(window, "szerokosc"), formatFixed(project->width / 40.0, 2, '.') + " mm");
    EXPECT_EQ(label(window, "wysokosc"), formatFixed(project->height / 40.0, 2, '.') + " mm");
    const double metres = project->cutLength / 40.0 / 1000.0;
    EXPECT_EQ(label(window, "totlen"), formatFixed(metres, 2, '.') + " m");
    const double minutes = metres * 1000.0 / 600.0 + static_cast<double>(project->figures.size()) * 0.03;
    EXPECT_NEAR(std::stod(label(window, "total_time")), minutes, 0.5);
    EXPECT_EQ(label(window, "total_time").substr(label(window, "total_time").size() - 4), " min");
    EXPECT_EQ(label(window, "kerf"), "0.00 mm");
    // Beside it, the program's own time with its heat-up and corner pauses.
    const std::optional<std::int64_t> planned = plannedProgramMs(*project);
    ASSERT_TRUE(planned.has_value());
    EXPECT_EQ(label(window, "programTime"), minutesAndSeconds(*planned));
    EXPECT_TRUE(window.findChild<QLabel*>("programTime")->isVisible());
    saveScreenshot(window, "project_information");

    // A new scale shows at the next paint; in perpendicular mode length and time stay.
    const std::string length = label(window, "totlen");
    rig.context.configuration.setChoice(Param::Mode, ModePerpendicular);
    rig.context.configuration.setNumber(Param::skala, 200);
    window.update();
    QTest::qWait(50);
    EXPECT_EQ(label(window, "szerokosc"), formatFixed(project->width / 20.0, 2, '.') + " mm");
    EXPECT_EQ(label(window, "totlen"), length);
}

TEST_F(ProjectInfoWindowTest, ShowForIsModalUntilOk)
{
    ProjectInfoWindow window(rig.context, *rig.session);
    bool wasModal = false;
    std::string shownName;
    QTimer::singleShot(0, &window, [&] {
        wasModal = window.isVisible() && window.isModal();
        shownName = label(window, "fname");
        QTest::mouseClick(window.findChild<QPushButton*>("OK"), Qt::LeftButton);
    });
    window.showFor(*project);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(shownName, path);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(ProjectInfoWindowTest, NamesTheProjectByItsWindowsCaption)
{
    // The independent mode opens one design twice; only the caption tells the arms apart.
    ProjectWindow projectWindow(rig.context);
    projectWindow.setWindowTitle(QString::fromStdString(path + " BACK"));
    projectWindow.show();
    ProjectInfoWindow window(rig.context, *rig.session);
    window.setProject(&projectWindow.model());
    EXPECT_EQ(label(window, "fname"), path + " BACK");
}

// A drawing whose header declares inches, read in millimetres, carries a note under the figures;
// a plot file has none to carry.
TEST_F(ProjectInfoWindowTest, NotesADrawingDeclaredInOtherUnits)
{
    const std::string drawing = std::string(KERFLINE_TEST_DATA_DIR) + "dxf/letter_in_frame_r14.dxf";
    TMDIChild declared(rig.context);
    declared.fileType = designTypeOf(drawing);
    ASSERT_EQ(declared.Load(drawing, 255), LoadOutcome::Opened);
    ASSERT_FALSE(declared.drawingUnitsNote.empty());

    ProjectInfoWindow window(rig.context, *rig.session);
    window.setProject(&declared);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto* note = window.findChild<QLabel*>("drawingUnits");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text().toStdString(), declared.drawingUnitsNote);
    EXPECT_EQ(note->text().left(43), QStringLiteral("The drawing's header declares its unit: in "));
    saveScreenshot(window, "project_information_drawing_units");

    window.setProject(project.get());
    QCoreApplication::processEvents();
    EXPECT_FALSE(note->isVisible());
}

}  // namespace
}  // namespace kerfline::ui
