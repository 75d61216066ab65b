#pragma once

// A project rig that writes cut programs, and the tools to read the wire's path back out of them.

#include "project_rig.h"

#include "designfiles/cut_program_decoder.h"
#include "geometry/geometry.h"
#include "base/round.h"
#include "project/cut_path_walk.h"
#include "project/cut_start_point.h"
#include "support/temp_dir.h"

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kerfline::testing {

// A position of the wire in hundredths of a millimetre, program coordinates.
struct Spot {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend auto operator<=>(const Spot&, const Spot&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const Spot& s)
{
    return out << "(" << s.x << ", " << s.y << ")";
}

struct WalkRig : ProjectRig {
    WalkRig()
    {
        app.dataDirectory = dir.str();
        MachineState& m = app.machine;
        m.setProduct("Qd 1200 ");
        m.resX = m.resY = 2.5;
        m.stepsS = m.stepsW = m.stepsT = 8000;
        m.speedMultiplier = 2;
        m.versionMajor = 4;
        m.versionMinor = 2;
        m.powerScale = 100;
    }

    std::string path() const { return dir.str() + "out.cn"; }

    // What the cut command does for a plain 2D job once the project is prepared.
    ProgramWriteResult save(double angle = 0.0, int outputKind = 32)
    {
        settleStartPoint(project);
        return saveAsItStands(angle, outputKind);
    }

    ProgramWriteResult saveAsItStands(double angle = 0.0, int outputKind = 32)
    {
        CutProgramJob job;
        job.outputKind = static_cast<OutputKind>(outputKind);  // the tests name kinds by their codes
        job.sendCommand = [this](std::string_view text) {
            sent.emplace_back(text);
            return true;
        };
        const auto last = static_cast<std::int32_t>(project.figures.size()) - 1;
        const ProgramWriteResult result = save_ciecie(project, job, path(), 0, angle, last);
        if (result) {
            const tfigura& start = project.figures.at(static_cast<std::size_t>(project.startFigure));
            startSpot = spotOf(start.points.at(static_cast<std::size_t>(start.startVertex)));
        }
        return result;
    }

    std::string bytes() const
    {
        std::ifstream in(path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }

    DecodedProgram decoded() const
    {
        DecodeSettings settings = DecodeSettings::forMachine(app.machine);
        settings.start = {static_cast<std::int32_t>(startSpot.x), static_cast<std::int32_t>(startSpot.y), 0, 0,
                          static_cast<std::int32_t>(startSpot.x), static_cast<std::int32_t>(startSpot.y), 0, 0};
        return decodeCutProgram(bytes(), settings, path());
    }

    std::vector<std::string> commands() const
    {
        std::vector<std::string> texts;
        for (const DecodedCommand& command : decoded().commands)
            texts.push_back(describeCommand(command));
        return texts;
    }

    // Where the writer puts a figure point: shifted to the project's corner, scaled, in hundredths.
    Spot spotOf(Point p) const
    {
        const double skala = app.configuration.number(Param::skala);
        const auto axis = [&](std::int32_t v, std::int32_t origin) {
            return std::int64_t{roundHalfEven(unitsToMm(scaleUnits(v - origin, skala)) * 100.0)};
        };
        return {axis(p.x, project.minX), axis(p.y, project.minY)};
    }

    // The front arm's positions: where the program starts, then after every move.
    std::vector<Spot> frontPath() const { return armPath(AxisFrontX, AxisFrontY); }
    std::vector<Spot> backPath() const { return armPath(AxisBackX, AxisBackY); }

    std::vector<Spot> armPath(int xAxis, int yAxis) const
    {
        std::vector<Spot> spots{startSpot};
        for (const AxisRegisters& r : decoded().trace)
            spots.push_back({r[static_cast<std::size_t>(xAxis)], r[static_cast<std::size_t>(yAxis)]});
        return spots;
    }

    std::vector<Spot> spotsOf(const std::vector<Point>& points) const
    {
        std::vector<Spot> spots;
        for (const Point p : points)
            spots.push_back(spotOf(p));
        return spots;
    }

    TempDir dir;
    std::vector<std::string> sent;
    Spot startSpot;
};

// Every way the path leaves the cut tree: a move that follows no edge of a connected figure and
// is longer than a touch, a connected design vertex the wire never reaches. Empty when none.
inline std::string pathViolations(const WalkRig& rig, const std::vector<Spot>& path)
{
    std::ostringstream out;
    const TMDIChild& project = rig.project;
    std::set<std::pair<Spot, Spot>> edges;
    std::set<Spot> visited(path.begin(), path.end());
    for (const tfigura& figure : project.figures) {
        if (figure.unconnected != 0)
            continue;
        const std::vector<Spot> spots = rig.spotsOf(figure.points);
        for (std::size_t k = 0; k + 1 < spots.size(); ++k) {
            edges.insert({spots[k], spots[k + 1]});
            edges.insert({spots[k + 1], spots[k]});
        }
        if (figure.isDesign == 0)
            continue;
        for (const Spot& s : spots)
            if (!visited.contains(s)) {
                out << "vertex " << s << " of figure " << figure.number << " is never reached; ";
                break;
            }
    }
    // Touching vertices may lie a join tolerance apart; the wire hops between them.
    const double touch = unitsToMm(project.joinTolerance()) * 100.0 * std::sqrt(2.0) + 1.0;
    for (std::size_t k = 0; k + 1 < path.size(); ++k) {
        const Spot a = path[k];
        const Spot b = path[k + 1];
        if (a == b || edges.contains({a, b}))
            continue;
        if (std::hypot(static_cast<double>(a.x - b.x), static_cast<double>(a.y - b.y)) <= touch)
            continue;
        out << "move " << k << " jumps from " << a << " to " << b << "; ";
    }
    return out.str();
}

}  // namespace kerfline::testing
