#include "project/cut_path_walk.h"

#include "designfiles/cut_program_writer.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "designfiles/cut_program_job.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace kerfline {
namespace {

// A vertex whose path turns by more than π/5 gets a corner pause after it.
constexpr double kPauseTurn = 0.6283185307179586;

std::int32_t offsetFrom(std::int32_t value, std::int32_t origin)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{value} - origin,
                                                              std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// The walk of the cut tree. Each figure's share of the path is planned as a list of actions when
// the wire enters it; entering a child pushes the child's list on an explicit stack, so a deep
// tree needs no deep recursion.
class CutPathWalk {
public:
    CutPathWalk(TMDIChild& project, CutPathVisitor& visitor)
        : m_project(project), m_figures(project.figures), m_visitor(visitor),
          m_visited(project.figures.size(), false), m_serial(project.mode() == ModeSerial)
    {
        for (std::size_t c = 0; c < m_figures.size(); ++c) {
            const tfigura& child = m_figures[c];
            // A figure outside the tree has nowhere the wire could enter it without a jump.
            if (child.parent >= 0 && static_cast<std::size_t>(child.parent) < m_figures.size() &&
                child.unconnected == 0 && static_cast<std::int32_t>(c) != child.parent)
                m_children[child.parent].push_back(static_cast<std::int32_t>(c));
        }
    }

    void run(std::int32_t start)
    {
        enter(start);
        while (!m_stack.empty()) {
            if (m_project.simulationStopped != 0)
                return;
            Frame& frame = m_stack.back();
            if (frame.next == frame.actions.size()) {
                m_stack.pop_back();
                continue;
            }
            const Action action = frame.actions[frame.next++];
            const std::int32_t figure = frame.figure;
            switch (action.step) {
            case Step::CornerPause:
                cornerPause();
                break;
            case Step::Child:
                if (!m_visited[static_cast<std::size_t>(action.value)])
                    enter(action.value);  // invalidates `frame`
                break;
            case Step::Point:
                writePoint(figure, action.value);
                break;
            case Step::ReturnPoint:
                writeReturnPoint(figure, action.value, action.pauseVertex);
                break;
            }
        }
    }

private:
    enum class Step : std::uint8_t { CornerPause, Child, Point, ReturnPoint };
    struct Action {
        Step step = Step::CornerPause;
        std::int32_t value = 0;        // the child figure, or the vertex to write
        std::int32_t pauseVertex = 0;  // ReturnPoint: the vertex whose turn decides the pause
    };
    struct Frame {
        std::int32_t figure = 0;
        std::vector<Action> actions;
        std::size_t next = 0;
    };

    bool synchronous() const { return m_project.synchronousPair != 0; }

    std::vector<Point>& pathOf(tfigura& figure) { return synchronous() ? figure.secondPoints : figure.points; }

    void enter(std::int32_t f)
    {
        tfigura& figure = m_figures[static_cast<std::size_t>(f)];
        const auto count = static_cast<std::int32_t>(pathOf(figure).size());
        // A figure is entered at its start vertex; one without points or without a valid start
        // vertex offers no place to enter.
        if (count == 0 || figure.startVertex < 0 || figure.startVertex >= count)
            return;
        m_visited[static_cast<std::size_t>(f)] = true;
        m_stack.push_back({f, plan(f), 0});
    }

    void cornerPause() { m_visitor.cornerPause(); }

    // The children attached at vertex v, in index order.
    void addChildren(std::vector<Action>& actions, std::int32_t f, std::int32_t v) const
    {
        const auto found = m_children.find(f);
        if (found == m_children.end())
            return;
        for (const std::int32_t c : found->second)
            if (m_figures[static_cast<std::size_t>(c)].attachVertex == v)
                actions.push_back({Step::Child, c, 0});
    }

    void reverse(std::int32_t f, std::int32_t n)
    {
        tfigura& figure = m_figures[static_cast<std::size_t>(f)];
        std::vector<Point>& path = pathOf(figure);
        std::reverse(path.begin(), path.end());
        std::reverse(figure.vertexInfo.begin(), figure.vertexInfo.end());
        figure.startVertex = 0;
        if (const auto found = m_children.find(f); found != m_children.end())
            for (const std::int32_t c : found->second)
                m_figures[static_cast<std::size_t>(c)].attachVertex = n - m_figures[static_cast<std::size_t>(c)].attachVertex;
    }

    std::vector<Action> plan(std::int32_t f)
    {
        tfigura& figure = m_figures[static_cast<std::size_t>(f)];
        const std::vector<Point>& path = pathOf(figure);
        const auto count = static_cast<std::int32_t>(path.size());
        const std::int32_t n = count - 1;
        std::int32_t i = figure.startVertex;
        const bool isStart = f == m_project.startFigure;
        const bool single = m_project.singleOpenFigure != 0;
        const bool open = figure.open != 0;
        const bool longOpen = open && count > 2;

        // Closed figures run the way their outline falls from the start vertex.
        int d = 1;
        if (!synchronous() && n > 1) {
            const std::int32_t next = i == 0 || i == n ? 1 : i + 1;
            const std::int32_t previous = i == 0 || i == n ? n - 1 : i - 1;
            if (path[static_cast<std::size_t>(next)].y < path[static_cast<std::size_t>(previous)].y)
                d = -1;
        }

        std::vector<Action> actions{{Step::CornerPause, 0, 0}};
        const bool skipWrites = isStart && m_project.cutOutline == 0;
        const auto point = [&](std::int32_t v) {
            if (!(single && v == 0) && !skipWrites)
                actions.push_back({Step::Point, v, 0});
        };
        const auto returnLeg = [&](std::int32_t pauseVertex) {
            for (std::int32_t v = n; v >= 0; --v)
                actions.push_back({Step::ReturnPoint, v, pauseVertex});
        };

        if (open)
            d = 1;
        // A vertex that repeats the last point is an end in all but index: reversing the figure
        // cuts it as from its end; the way out and back is for true middle vertices.
        const bool entryIsLastPoint = i >= 0 && i < count && path[static_cast<std::size_t>(i)] == path[static_cast<std::size_t>(n)];
        if (longOpen && i >= 1 && i < n && !entryIsLastPoint) {
            // Entered between its ends: out to the last vertex, back over the whole figure to
            // the first, and forward again to the entry, so the wire leaves where it came in.
            for (std::int32_t v = i; v < n; ++v) {
                addChildren(actions, f, v);
                point(v + 1);
            }
            addChildren(actions, f, n);
            returnLeg(0);
            for (std::int32_t v = 0; v < i; ++v) {
                addChildren(actions, f, v);
                point(v + 1);
            }
            return actions;
        }
        // Entered at its last vertex: cut it from the first. A lone open figure of two points is
        // turned too, or its only edge would be travelled to the end it starts at.
        if ((longOpen || (single && open && count == 2)) && i >= 1) {
            reverse(f, n);
            i = 0;
        }

        // The serial mode leaves out the step onto the duplicate closing vertex and does not bring
        // the wire back along the start figure. A loop entered between its ends needs every step.
        int repetitions = n + 1;
        bool finalChildren = false;
        if (m_serial) {
            if (!open) {
                if (d < 0 && i == 0)
                    i = n;
                else if (d > 0 && i == n)
                    i = 0;
                if (i == 0 || i == n) {
                    repetitions = n;
                    finalChildren = true;
                }
            } else if (isStart) {
                repetitions = n;
                finalChildren = true;
            }
        }
        const bool withReturnLeg = longOpen && !single && !(m_serial && isStart);

        for (int r = 1; r <= repetitions; ++r) {
            addChildren(actions, f, i);
            if (d > 0)
                i = (i + 1) % (n + 1);
            else
                i = i - 1 < 0 ? n : i - 1;
            if (r == repetitions && withReturnLeg)
                returnLeg(i);
            point(i);
        }
        // The walk passed every vertex but the one it stopped on.
        if (finalChildren)
            addChildren(actions, f, i);
        return actions;
    }

    double turnAt(const tfigura& figure, std::int32_t v) const
    {
        const auto k = static_cast<std::size_t>(v);
        return k < figure.vertexInfo.size() ? std::fabs(figure.vertexInfo[k].turnAngle) : 0.0;
    }

    bool cornerAt(std::int32_t f, std::int32_t v) const
    {
        if (synchronous() && m_figures.size() >= 2)
            return turnAt(m_figures[0], v) > kPauseTurn || turnAt(m_figures[1], v) > kPauseTurn;
        return turnAt(m_figures[static_cast<std::size_t>(f)], v) > kPauseTurn;
    }

    void emit(std::int32_t f, std::int32_t v) { m_visitor.point(f, v); }

    void writePoint(std::int32_t f, std::int32_t v)
    {
        if (m_figures[static_cast<std::size_t>(f)].open != 0 && !m_lastPaused && v == 0)
            cornerPause();
        emit(f, v);
        m_lastPaused = cornerAt(f, v);
        if (m_lastPaused)
            cornerPause();
    }

    void writeReturnPoint(std::int32_t f, std::int32_t v, std::int32_t pauseVertex)
    {
        emit(f, v);
        if (cornerAt(f, pauseVertex))
            cornerPause();
    }

    TMDIChild& m_project;
    std::vector<tfigura>& m_figures;
    CutPathVisitor& m_visitor;
    std::vector<bool> m_visited;
    bool m_serial;
    bool m_lastPaused = false;
    std::map<std::int32_t, std::vector<std::int32_t>> m_children;
    std::vector<Frame> m_stack;
};

// Writes what the walk reaches as moves and pauses of the cut program.
class ProgramWritingVisitor : public CutPathVisitor {
public:
    ProgramWritingVisitor(TMDIChild& project, CutProgramWriter& writer, bool front, bool back)
        : m_project(project), m_figures(project.figures), m_writer(writer), m_front(front), m_back(back)
    {
    }

    void cornerPause() override
    {
        m_writer.WritePause(roundHalfEven(m_project.context().configuration.number(Param::Pauza_w_kacie)));
    }

    void point(std::int32_t f, std::int32_t v) override
    {
        const auto k = static_cast<std::size_t>(v);
        const std::int32_t minX = m_project.minX;
        const std::int32_t minY = m_project.minY;
        if (m_project.synchronousPair != 0) {
            // Figures 0 and 1 are cut together: the front arm follows one, the back arm the other.
            if (m_figures.size() < 2 || k >= m_figures[0].secondPoints.size() || k >= m_figures[1].secondPoints.size())
                return;
            const Point p0 = m_figures[0].secondPoints[k];
            const Point p1 = m_figures[1].secondPoints[k];
            m_writer.WritePairedMove(offsetFrom(p0.x, minX), offsetFrom(p1.x, minX), offsetFrom(p0.y, minY),
                                     offsetFrom(p1.y, minY));
            return;
        }
        const Point p = m_figures[static_cast<std::size_t>(f)].points[k];
        m_writer.WritePlainMove(offsetFrom(p.x, minX), offsetFrom(p.y, minY), m_front, m_back);
    }

private:
    TMDIChild& m_project;
    std::vector<tfigura>& m_figures;
    CutProgramWriter& m_writer;
    bool m_front;
    bool m_back;
};

}  // namespace

void walkCutPath(TMDIChild& project, CutPathVisitor& visitor)
{
    const auto start = static_cast<std::size_t>(project.startFigure);
    if (start >= project.figures.size() || project.figures[start].points.empty())
        return;
    CutPathWalk(project, visitor).run(project.startFigure);
}

ProgramWriteResult save_ciecie(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                               std::int32_t /*first*/, double angle, std::int32_t /*last*/)
{
    AppContext& context = project.context();
    const Configuration& configuration = context.configuration;
    BusyCursor busy(context.host);
    const bool front = context.machine.KeyFront;
    const bool back = context.machine.KeyBack;

    // The two-wire machine heats the wire it cuts with.
    if (context.machine.isTwoWireMachine() && job.sendCommand) {
        if (front)
            job.sendCommand(machine::commands::setParameter(machine::ParameterId::PowerOutput, machine::kFrontWireOutput));
        if (back)
            job.sendCommand(machine::commands::setParameter(machine::ParameterId::PowerOutput, machine::kSideWireOutput));
    }

    CutProgramWriter writer(context, job);
    writer.setKeys(front, back);
    if (ProgramWriteResult begun = writer.BeginProgram(fileName); !begun)
        return begun;

    project.simulationStopped = 0;
    const auto start = static_cast<std::size_t>(project.startFigure);
    if (start < project.figures.size() && !project.figures[start].points.empty()) {
        tfigura& figure = project.figures[start];
        if (figure.startVertex < 0 || static_cast<std::size_t>(figure.startVertex) >= figure.points.size())
            figure.startVertex = 0;
        const Point s = figure.points[static_cast<std::size_t>(figure.startVertex)];
        const double skala = configuration.number(Param::skala);
        writer.SetPositions(roundHalfEven((static_cast<double>(s.x) - project.minX) * skala / 100.0),
                            roundHalfEven((static_cast<double>(s.y) - project.minY) * skala / 100.0), 0);
        ProgramWritingVisitor visitor(project, writer, front, back);
        walkCutPath(project, visitor);
    }

    if (configuration.choice(Param::StolikSwitch) == DeviceTable)
        writer.WriteRotation(0.0, angle);
    else
        writer.WriteRotation(angle, 0.0);
    // Only a program written for the machine clears the status; an estimate or an export written
    // to memory leaves a message there (a broken wire, a lost link) for the operator.
    if (job.writeFile)
        context.host.setStatus(0, "");
    return writer.EndProgram();
}

}  // namespace kerfline
