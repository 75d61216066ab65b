#pragma once

#include "cutting/job_progress.h"

#include <QWidget>

class QLabel;
class QProgressBar;

namespace kerfline {
class tInterfejs;
}  // namespace kerfline

namespace kerfline::ui {

// The job's section of the main window's status bar: what the job is doing, where the wire
// stands, how far along the planned path it is, the time it has taken and the time left.
class JobStatusPanel : public QWidget {
    Q_OBJECT
public:
    JobStatusPanel(const tInterfejs& language, QWidget* parent = nullptr);

    // `unitFactor` turns millimetres into the display unit named `unit`.
    void showStatus(const JobStatus& status, double unitFactor, const std::string& unit);

    QLabel* phaseLabel = nullptr;
    QLabel* positionLabel = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* timeLabel = nullptr;

private:
    const tInterfejs& m_language;
};

// The operator's name of a phase.
std::string jobPhaseText(JobPhase phase, const tInterfejs& language);

}  // namespace kerfline::ui
