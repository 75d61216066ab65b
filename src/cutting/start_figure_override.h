#pragma once

#include "cutting/job_driver.h"
#include "project/tmdichild.h"

#include <cstdint>

namespace kerfline {

// Makes the first figure of a range the project's start figure for as long as it lives; then the
// project's own start figure and start offsets come back.
class StartFigureOverride {
public:
    StartFigureOverride(TMDIChild& project, FigureRange range)
        : m_project(project), m_saved(project.startFigure), m_active(!range.whole())
    {
        if (m_active)
            m_project.startFigure = range.first;
    }
    ~StartFigureOverride()
    {
        if (!m_active)
            return;
        m_project.startFigure = m_saved;
        m_project.computeStartOffsets();
    }
    StartFigureOverride(const StartFigureOverride&) = delete;
    StartFigureOverride& operator=(const StartFigureOverride&) = delete;

private:
    TMDIChild& m_project;
    std::int32_t m_saved;
    bool m_active;
};

}  // namespace kerfline
