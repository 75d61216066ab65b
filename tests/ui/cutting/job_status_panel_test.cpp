// The job's section of the status bar, in both languages.
#include "cutting/ui/job_status_panel.h"

#include "base/language.h"
#include "base/scripted_host.h"
#include "support/screenshot.h"

#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

TEST(JobStatusPanel, ShowsThePhaseThePositionInTheDisplayUnitTheProgressAndTheTimes)
{
    struct Case {
        const char* language;
        JobPhase phase;
        double unitFactor;
        const char* unit;
        const char* phaseText;
        const char* position;
        const char* times;
        const char* screenshot;
    };
    const Case cases[] = {
        {"US", JobPhase::Running, 1.0, "mm", "Cutting", "X 254.00  Y 12.70 mm", "Elapsed 1:05, left about 1:02:03",
         "job_status_us"},
        {"US", JobPhase::PausedByMachine, 1.0 / 25.4, "in", "Paused by the machine", "X 10.00  Y 0.50 in",
         "Elapsed 1:05, left about 1:02:03", nullptr},
        {"PL", JobPhase::WireBroken, 1.0, "mm", "Zerwany drut", "X 254.00  Y 12.70 mm",
         "Upłynęło 1:05, pozostało około 1:02:03", "job_status_pl"},
    };
    for (const Case& c : cases) {
        ScriptedHost host;
        tInterfejs language(host);
        language.load(KERFLINE_LANG_DIR, LanguageChoice{c.language, c.language == std::string("PL") ? 48 : 1, false});
        JobStatusPanel panel(language);
        JobStatus status;
        status.phase = c.phase;
        status.fraction = 0.425;
        status.frontXmm = 254.0;
        status.frontYmm = 12.7;
        status.elapsedMs = 65'400;
        status.remainingMs = 3'723'000;
        panel.showStatus(status, c.unitFactor, c.unit);
        panel.show();
        EXPECT_EQ(panel.phaseLabel->text().toStdString(), c.phaseText);
        EXPECT_EQ(panel.positionLabel->text().toStdString(), c.position);
        EXPECT_EQ(panel.timeLabel->text().toStdString(), c.times);
        EXPECT_EQ(panel.progressBar->text().toStdString(), "42.5 %");
        if (c.screenshot)
            testing::saveScreenshot(panel, c.screenshot);
    }
}

}  // namespace
}  // namespace kerfline::ui
