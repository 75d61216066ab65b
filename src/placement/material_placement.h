#pragma once

#include <optional>
#include <string>

namespace kerfline {

struct AppContext;
class TMDIChild;

namespace machine {
class ControllerProtocol;
}

// The answers of the material placement dialog (TfFigNaMat), millimetres.
struct PlacementAnswers {
    double width = 500.0;     // of the block, between its front and back faces
    double distance = 0.0;    // of the block's front face from the front arm plane
    double armSpacing = 500.0;
};

// The last accepted width and distance of the block, kept for the program's run; 0 until one
// was accepted.
struct PlacementMemory {
    double materialWidth = 0.0;
    double materialDistance = 0.0;
};

// The extremes of both arm paths, millimetres.
struct ArmExtremes {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
};

// A point of the machine, millimetres.
struct StandPoint {
    double x = 0.0;
    double y = 0.0;
};

// Projects the mixed project's pairs of shape points onto the two arm planes: the straight line
// through the front shape point (at `distance` from the front arm plane) and the back shape point
// (at `distance` + `width`) meets the front arm plane and the back arm plane (at `armSpacing`).
// The meeting points, in plotter units, replace the secondPoints of figure 0 (front arm) and
// figure 1 (back arm). Returns the extremes over both arm paths.
ArmExtremes projectOntoArmPlanes(TMDIChild& mix, double width, double distance, double armSpacing);

// The key of the first check of the answers that fails ("PodajSzerMat", "MaterialZaSzeroki",
// "MaterialPozaMaszyna"), or nothing.
std::optional<std::string> placementRefusal(const PlacementAnswers& answers, double fcWidth);

// The working-area test of the placement, on the extremes already rounded and scaled.
struct AreaVerdict {
    enum class Kind { Inside, TooLarge, Outside } kind = Kind::Inside;
    double sizeX = 0.0;  // the path's size, millimetres
    double sizeY = 0.0;
    StandPoint proposed;  // Outside: where both arms should stand for the path to fit
};
// `start` is the program's start offset (the mixed path's first point, scaled, millimetres),
// which the program's moves are relative to; front and back are the arms' positions.
AreaVerdict workingAreaVerdict(const ArmExtremes& scaled, StandPoint start, StandPoint front, StandPoint back,
                               double limitX, double limitY);

// The Start of the material placement dialog: stores the arm spacing, checks the answers,
// projects the shapes onto the arm planes and runs the working-area test. True when the dialog
// closes with success. When the test finds the path outside the machine from where the arms
// stand it asks to move them to the proposed point; with a controller the arms are moved there
// with output 2 heating and the heating is switched off once the machine stands still. Without
// a controller (the protocol null) the positions of the machine state are taken as they are.
class MaterialPlacement {
public:
    MaterialPlacement(AppContext& context, PlacementMemory& memory, machine::ControllerProtocol* protocol)
        : m_context(context), m_memory(memory), m_protocol(protocol)
    {
    }

    // The fields' first values: the last accepted width and distance when above 0, the arm
    // spacing as kept (the machine's working width until one was set).
    PlacementAnswers initialAnswers() const;
    // The largest width and distance the fields take.
    double armSpacing() const;

    bool Start(TMDIChild& mix, const PlacementAnswers& answers);

    // The stand point the last Start proposed and the operator accepted, if any.
    std::optional<StandPoint> acceptedMove;

private:
    bool workingAreaTest(TMDIChild& mix, const ArmExtremes& scaled);
    void moveArms(StandPoint target);
    std::string mmText(double millimetres) const;

    AppContext& m_context;
    PlacementMemory& m_memory;
    machine::ControllerProtocol* m_protocol;
};

}  // namespace kerfline
