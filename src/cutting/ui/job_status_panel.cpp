#include "cutting/ui/job_status_panel.h"

#include "base/language.h"
#include "base/ui/text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include <cmath>
#include <cstdio>

namespace kerfline::ui {

std::string jobPhaseText(JobPhase phase, const tInterfejs& language)
{
    return language.Text("Job_status", jobPhaseName(phase));
}

JobStatusPanel::JobStatusPanel(const tInterfejs& language, QWidget* parent) : QWidget(parent), m_language(language)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    phaseLabel = new QLabel(this);
    phaseLabel->setMinimumWidth(150);
    positionLabel = new QLabel(this);
    positionLabel->setMinimumWidth(170);
    progressBar = new QProgressBar(this);
    progressBar->setRange(0, 1000);
    progressBar->setFixedWidth(140);
    progressBar->setFormat("%p %");
    timeLabel = new QLabel(this);
    timeLabel->setMinimumWidth(200);
    for (QWidget* widget : {static_cast<QWidget*>(phaseLabel), static_cast<QWidget*>(positionLabel),
                            static_cast<QWidget*>(progressBar), static_cast<QWidget*>(timeLabel)})
        layout->addWidget(widget);
}

void JobStatusPanel::showStatus(const JobStatus& status, double unitFactor, const std::string& unit)
{
    phaseLabel->setText(qs(jobPhaseText(status.phase, m_language)));
    char position[64];
    std::snprintf(position, sizeof position, "X %.2f  Y %.2f %s", status.frontXmm * unitFactor,
                  status.frontYmm * unitFactor, unit.c_str());
    positionLabel->setText(qs(position));
    progressBar->setValue(static_cast<int>(std::lround(status.fraction * 1000)));
    progressBar->setFormat(QString::number(status.fraction * 100, 'f', 1) + " %");
    timeLabel->setText(qs(formatText(m_language.Text("Job_status", "times"),
                                     {formatDuration(status.elapsedMs), formatDuration(status.remainingMs)})));
}

}  // namespace kerfline::ui
