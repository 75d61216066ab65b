#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kerfline {

struct MachineState;
class TMDIChild;

// The wire's route during a two-dimensional cut job, in the project's plotter units, for the
// project window to draw over the design (ProjectWindow::setWireTrail).
//
// A 2D cut program starts where the wire stands: the writer takes the wire's position as the
// project's start point (the start vertex of the start figure) and moves relative to it, scaled
// by `skala` percent. So the wire at machine position P (hundredths of a millimetre) is at
//     start + (P - P0) x 40 / skala   plotter units,
// with P0 the position read when the program started.
//
// Use from the heartbeat:
//     trail.begin(project, context.machine, configuration.number(Param::skala));  // at the job's start
//     trail.follow(context.machine, protocol.ReadStatusAndPositions());  // while the job runs
//     trail.clear();                   // when the project window no longer needs it
// The trail holds only what the wire cut: while the program does not run (sending, paused, a
// broken wire) or the controller does not answer, it has a gap, and the next point it takes
// starts a new segment. A wire moved by hand during a pause, or one that ran on while the link
// was lost, is never joined to the route by a straight line.
// The arm followed is the one the program drives: the front arm (axes 0, 1) when KeyFront is
// ticked, else the back arm (axes 4, 5).
class WireTrail {
public:
    // Starts a trail at the project's start point with the wire's current position. A project
    // without a start point gives no trail.
    void begin(const TMDIChild& project, const MachineState& machine, double skala);
    // The same with the arm position (hundredths of a millimetre) read when the wire stood at the
    // start point; false, and no trail, when the project has none.
    bool begin(const TMDIChild& project, std::int32_t armX, std::int32_t armY, bool backArm, double skala);
    // The same with the pair of positions given: the project point where the wire stands and the
    // arm position (hundredths of a millimetre) read there.
    void begin(Point projectStart, std::int32_t armX, std::int32_t armY, bool backArm, double skala);

    // Takes the latest position read into the machine state; true when the trail moved on.
    bool update(const MachineState& machine);
    bool update(std::int32_t armX, std::int32_t armY);
    // The next point starts a new segment.
    void gap();
    // After a read of the status and the positions (readOk: it succeeded): the point is taken
    // while the program runs, anything else is a gap. True when the trail moved on.
    bool follow(const MachineState& machine, bool readOk);
    // Whether a program is cutting by the machine's status: running, not paused, not waiting for
    // "G", the wire whole.
    static bool cutting(const MachineState& machine);

    void clear();

    // Whether the program drives the back arm: only KeyBack is ticked.
    static bool followsBackArm(const MachineState& machine);

    bool active() const { return m_active; }
    bool followsBackArm() const { return m_backArm; }
    // The route so far, from the start point; consecutive points differ.
    const std::vector<Point>& path() const { return m_path; }
    // Where each segment of the route begins in path(): a segment runs to the next one's start.
    // The first segment begins at 0.
    const std::vector<std::size_t>& segmentStarts() const { return m_segmentStarts; }
    // Where the wire is now.
    std::optional<Point> current() const;

    // The project point of an arm position.
    Point toProject(std::int32_t armX, std::int32_t armY) const;

private:
    bool m_active = false;
    bool m_backArm = false;
    Point m_start;
    std::int32_t m_armX0 = 0;
    std::int32_t m_armY0 = 0;
    double m_unitsPerHundredth = 0.4;
    std::vector<Point> m_path;
    std::vector<std::size_t> m_segmentStarts;
    bool m_gap = false;
    bool m_cutSeen = false;  // follow() has seen the program run
};

}  // namespace kerfline
