#pragma once

#include <functional>

namespace kerfline {

struct AppContext;
class TMDIChild;

namespace machine {
class ControllerProtocol;
class MotionOperations;
}  // namespace machine

// The start points of the two wires of the two-wire machine, millimetres.
struct TwoWireStart {
    double frontX = 0.0;
    double frontY = 0.0;
    double sideX = 0.0;
    double sideY = 0.0;
};

// The limits the two-wire start dialog shows and keeps its fields in, millimetres: the front
// wire's working area and the side wire's, whose Y stays 10 mm below its limit.
TwoWireStart twoWireLimits(const AppContext& context);

// The fields' first values: where the wires stand.
TwoWireStart twoWireCurrent(const AppContext& context);

// Which wire's start point leaves its project outside the machine, if any.
enum class TwoWireRefusal { None, Front, Side };
TwoWireRefusal twoWireRefusal(const AppContext& context, const TwoWireStart& start, const TMDIChild& frontProject,
                              const TMDIChild& sideProject);

// The Start of the two-wire start dialog (TfPrStartDlg): checks both start points against the
// projects (front project: the first window, side project: the second), stores them, and drives
// the wires there: the side wire first when the front wire would end at or below it. Every move
// heats the wire; the heating is switched off once the machine stands still, whatever became of
// the move. False, with the message shown, when a point is refused.
class TwoWireStartDialog {
public:
    TwoWireStartDialog(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion)
        : m_context(context), m_protocol(protocol), m_motion(motion)
    {
    }

    bool Start(const TwoWireStart& start, const TMDIChild& frontProject, const TMDIChild& sideProject);

    // The arm selection of the manual control panel: ticking one wire clears the other.
    std::function<void()> tickKeyFront;
    std::function<void()> tickKeyBack;
    // Where the accepted points are kept for the program's trailer.
    std::function<void(const TwoWireStart&)> store;
    // The field a refusal sends the cursor to.
    TwoWireRefusal refusal = TwoWireRefusal::None;

private:
    void moveAndCool(bool front, double x, double y);

    AppContext& m_context;
    machine::ControllerProtocol& m_protocol;
    machine::MotionOperations& m_motion;
};

}  // namespace kerfline
