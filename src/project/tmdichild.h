#pragma once

#include "geometry/figure.h"
#include "project/kerf_compensation.h"
#include "project/touch_rule.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kerfline {

struct AppContext;
class Thpgl;
class ConnectorSearch;

// One point the front/back mixing recorded from the replay of a project.
struct MixSource {
    std::int32_t figure = 0;
    std::int32_t vertex = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// What became of the window after Load: a failed load has shown its message and the window
// must close itself.
enum class LoadOutcome { Opened, Closed };

// How a preparation ended: the operator may interrupt the connector search.
enum class PreparationOutcome { Completed, Interrupted };

// The result of the two-dimensional preparation beyond the project fields it sets.
struct PreparationReport {
    PreparationOutcome outcome = PreparationOutcome::Completed;
    int unconnectedFigures = 0;  // figures no connection rule could reach
};

// The project window's model: one opened design, its figures and everything the cut planning
// adds to it. The window of the user interface wraps it and shows its state; the model speaks
// to the operator only through the Host of its context.
//
// Fields keep the names and widths of the window they model, since the planners, the cut
// program writer and the dialogs read and write them directly.
class TMDIChild {
public:
    explicit TMDIChild(AppContext& context);
    ~TMDIChild();
    TMDIChild(const TMDIChild&) = delete;
    TMDIChild& operator=(const TMDIChild&) = delete;

    // The text of the window's status bar (figure count after loading, search progress). The
    // hidden "Zapis do BMP" button of the window holds no state and has no field here.
    std::string StatusBar;
    std::unique_ptr<Thpgl> importer;  // only during a load
    std::uint8_t simulationStopped = 0;
    std::int32_t axisIndex = -1;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
    std::uint8_t pathReady = 0;
    std::vector<tfigura> figures;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t startFromLeft = 0;
    std::int32_t startFromRight = 0;
    std::int32_t startFromTop = 0;
    std::int32_t startFromBottom = 0;
    std::uint8_t simulating = 0;
    std::int32_t selectedFigure = -1;
    std::int32_t maxNestLevel = 0;
    double cutLength = 0.0;
    std::uint8_t profileBelowAxis = 0;
    std::uint8_t cutOutline = 1;
    std::uint8_t frameAdded = 0;
    std::uint8_t horizontalAxisFound = 0;
    std::int32_t seriesIndex = 0;
    std::int32_t fileType = 0;  // 1 HPGL, 2 DXF, 3 EPS or AI
    std::uint8_t singleOpenFigure = 0;
    std::uint8_t synchronousPair = 0;
    std::vector<MixSource> mixSources;
    std::int32_t startFigure = 0;
    std::array<std::uint8_t, 2> directionX{1, 1};  // 1 or 255 (-1)
    double rotationAngle = 0.0;
    std::string fileName;
    // Set by Load for a DXF drawing whose header declares units other than the display unit.
    std::string drawingUnitsNote;
    // The kerf in millimetres the figures were last compensated for, and what could not be
    // compensated as drawn (figure indices).
    double kerfInUse = 0.0;
    // Cut as drawn whatever kerf is configured: the calibration piece, which measures the kerf.
    std::uint8_t keepDrawn = 0;
    std::vector<KerfIssue> kerfIssues;
    // Set on the passes the serial generator made: cut the model off its base after the last
    // of them. A series opened from files never carries it.
    std::uint8_t cutOffAfterSeries = 0;

    // Called whenever the window should repaint: a new status text, a finished preparation.
    std::function<void()> repaintRequested;

    // Loading (project_load.cpp). penFilter 255 takes every pen; any other value takes that
    // pen and pen 6.
    LoadOutcome Load(const std::string& fileName, std::uint8_t penFilter);
    // Sets the window up as a loaded design from figures made elsewhere (the serial generator's
    // passes): extents, start and end points, origins, and the preparation of the mode.
    void LoadFigures(std::vector<tfigura> designFigures, std::string name);

    // Figure bookkeeping (tmdichild.cpp).
    void licz_parametry(tfigura& figure) const;
    std::int32_t AddFigure(tfigura figure);
    std::int32_t AddLacznik(tfigura figure, std::uint8_t closed);
    void Ustaw_PPiPK();
    // Every caller passes -1, for which it does nothing.
    std::int32_t JakiKierunek(std::int32_t index) const;

    // Directions (figure_direction.cpp). An index below 0 reverses every figure.
    void OdwrocKierunek(std::int32_t index);
    void UstawKierunek(std::int32_t direction);
    void buildTurnAngles();

    // Order of figures (nesting.cpp, start_selection.cpp, vertex_classification.cpp).
    void co_w_czym();
    // Open figures that can lead the wire in, ascending.
    std::vector<LeadIn> leadInCandidates() const;
    // Chooses the start figure, adding a frame or an entry line when the design offers none.
    void selectStartFigure();
    void selectStartFigure(const std::vector<LeadIn>& candidates);
    void setUpStartFigure();
    void linkTouchingFigures();
    void propagateTouches();
    // Links `figure` to the connected figure it touches at the pair's vertices.
    void linkByTouch(std::int32_t figure, std::int32_t connected, TouchPair pair);
    void classifyVertices();
    // The vertex of a figure nearest to the project's lower-left corner.
    std::int32_t vertexNearestToOrigin(const tfigura& figure) const;

    // Added figures (entry_and_frame.cpp, connectors.cpp, neighbours.cpp).
    std::int32_t addFrame();
    std::int32_t addEntryLine();
    bool connectEntry();
    // Appends the connector from vertex dc of figure c to vertex du of figure u and links u
    // through it. The searches choose the pair and repair crossings first.
    std::int32_t linkByConnector(std::int32_t c, std::int32_t dc, std::int32_t u, std::int32_t du);
    void buildNeighbourLists();

    // The connector searches and their driver (search_driver.cpp, connector_search.cpp). Each
    // search adds at most one connector and says whether it did.
    bool connectInside(std::int32_t container);
    bool connectInsideCorners(std::int32_t container);
    bool connectGlobalCorners();
    bool connectGlobal();
    // The driver of the searches; false when the operator interrupted it.
    bool connectRemaining(ConnectorSearch& search);

    // Offsets the closed design figures by half the configured kerf, always from their outlines
    // as drawn, and tells the operator what could not be compensated (kerf_preparation.cpp).
    void applyKerf();
    // Whether the configured kerf differs from the one the figures were compensated for.
    bool kerfOutOfDate() const;
    // Plans the project anew for the configured kerf: the entry line, frame and connectors of the
    // last preparation were laid around the old outlines, so they go first (kerf_preparation.cpp).
    PreparationReport replanForKerf();

    // The two-dimensional preparation (ciecie.cpp). The overload takes the searches to use.
    PreparationReport ciecie();
    PreparationReport ciecie(ConnectorSearch& search);
    // The last steps of ciecie: the start vertex of an open start figure, the start offsets
    // and the cut length.
    void finishStartVertex();
    void computeStartOffsets();
    // The rotary and turning preparations (rotary_preparation.cpp): find the axis line, move the
    // project into the axis' frame and orient the figures. A project without an axis or without
    // a profile has shown its message and the window must close.
    LoadOutcome ciecie_obrotowe();
    LoadOutcome toczenie();
    LoadOutcome toczenie_stolik();
    LoadOutcome toczenie_wrzeciono();
    // Figures derived from a figure are cut before it.
    void sortuj_toczenie();
    // The first entry into the material, millimetres: the first point of the first profile, X
    // on the spindle, Y on the table.
    double DajPoz1szegoWjazduWmat() const;

    // Marks a figure as part of the cut tree and records the order in which figures joined it.
    void markConnected(std::int32_t index);
    const std::vector<std::int32_t>& connectionOrder() const { return m_connectionOrder; }

    AppContext& context() const { return m_context; }
    // Configuration values the planning reads, in plotter units where they are lengths.
    std::int32_t joinTolerance() const;
    int mode() const;

    // Sets the window's status text and asks for a repaint.
    void setStatusText(std::string text);
    void requestRepaint() const;

private:
    // The project's extents, start and end points, and every figure's origin at its corner.
    void setExtentsAndOrigins();
    LoadOutcome prepareForMode();
    std::unique_ptr<ConnectorSearch> m_search;  // the searches of the running preparation
    AppContext& m_context;
    std::vector<std::int32_t> m_connectionOrder;
};

}  // namespace kerfline
