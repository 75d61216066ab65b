#include "placement/material_placement.h"

#include "geometry/geometry.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/controller_protocol.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kerfline {
namespace {

constexpr const char* kSection = "Independent_start_dialog";
// The heated moves of the manual control heat output 2.
constexpr int kMoveHeatingOutput = 2;

double hundredths(double millimetres)
{
    return roundHalfEven<std::int64_t>(millimetres * 100.0) / 100.0;
}

// The scaled start offset of the program: SetPositions takes the start point to whole plotter
// units at the scale, then to hundredths of a millimetre.
double scaledStart(std::int32_t units, double skala)
{
    return hundredths(unitsToMm(roundHalfEven(skala * units / 100.0)));
}

// A stand point coordinate the path fits from: the proposal of the dialog, kept between the
// lowest and the highest position that fit.
double fittingStand(double proposal, double lowest, double highest)
{
    double stand = proposal;
    if (stand > highest)
        stand = std::floor(highest * 100.0) / 100.0;
    if (stand < lowest)
        stand = std::ceil(lowest * 100.0) / 100.0;
    return stand;
}

}  // namespace

ArmExtremes projectOntoArmPlanes(TMDIChild& mix, double width, double distance, double armSpacing)
{
    ArmExtremes extremes{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    if (mix.figures.size() < 2)
        return {};
    tfigura& front = mix.figures[0];
    tfigura& back = mix.figures[1];
    front.secondPoints.clear();
    back.secondPoints.clear();
    const std::size_t count = std::min(front.points.size(), back.points.size());
    const auto track = [&](Point p) {
        const double x = unitsToMm(p.x);
        const double y = unitsToMm(p.y);
        extremes.minX = std::min(extremes.minX, x);
        extremes.minY = std::min(extremes.minY, y);
        extremes.maxX = std::max(extremes.maxX, x);
        extremes.maxY = std::max(extremes.maxY, y);
    };
    for (std::size_t k = 0; k < count; ++k) {
        // In this order: many arm coordinates fall on exact half units, and another order of the
        // same arithmetic rounds some of them the other way.
        const double fx = unitsToMm(front.points[k].x);
        const double fy = unitsToMm(front.points[k].y);
        const double fz = distance;
        const double bx = unitsToMm(back.points[k].x);
        const double by = unitsToMm(back.points[k].y);
        const double bz = distance + width;
        const double toFront = fz / (bz - fz);
        const double toBack = (fz - armSpacing) / (bz - fz);
        const Point frontArm{mmToUnits(fx - (bx - fx) * toFront), mmToUnits(fy - (by - fy) * toFront)};
        const Point backArm{mmToUnits(fx - (bx - fx) * toBack), mmToUnits(fy - (by - fy) * toBack)};
        front.secondPoints.push_back(frontArm);
        back.secondPoints.push_back(backArm);
        track(frontArm);
        track(backArm);
    }
    if (count == 0)
        return {};
    return extremes;
}

std::optional<std::string> placementRefusal(const PlacementAnswers& answers, double fcWidth)
{
    if (!(answers.width > 0.0))
        return "PodajSzerMat";
    if (answers.width > answers.armSpacing)
        return "MaterialZaSzeroki";
    if (answers.width + answers.distance > fcWidth)
        return "MaterialPozaMaszyna";
    return std::nullopt;
}

AreaVerdict workingAreaVerdict(const ArmExtremes& scaled, StandPoint start, StandPoint front, StandPoint back,
                               double limitX, double limitY)
{
    AreaVerdict verdict;
    verdict.sizeX = scaled.maxX - scaled.minX;
    verdict.sizeY = scaled.maxY - scaled.minY;
    if (verdict.sizeX > limitX || verdict.sizeY > limitY) {
        verdict.kind = AreaVerdict::Kind::TooLarge;
        return verdict;
    }
    // The program's moves are relative to its start point, wherever the arms stand.
    const double lowX = scaled.minX + std::min(front.x, back.x) - start.x;
    const double highX = scaled.maxX + std::max(front.x, back.x) - start.x;
    const double lowY = scaled.minY + std::min(front.y, back.y) - start.y;
    const double highY = scaled.maxY + std::max(front.y, back.y) - start.y;
    if (lowX >= 0.0 && highX <= limitX && lowY >= 0.0 && highY <= limitY)
        return verdict;
    verdict.kind = AreaVerdict::Kind::Outside;
    const auto proposal = [](double v) { return std::fabs(std::trunc(v)) + 1.0; };
    verdict.proposed.x = fittingStand(proposal(scaled.minX - start.x), start.x - scaled.minX,
                                      limitX - scaled.maxX + start.x);
    verdict.proposed.y = fittingStand(proposal(scaled.minY - start.y), start.y - scaled.minY,
                                      limitY - scaled.maxY + start.y);
    return verdict;
}

PlacementAnswers MaterialPlacement::initialAnswers() const
{
    PlacementAnswers answers;
    if (m_memory.materialWidth > 0.0)
        answers.width = m_memory.materialWidth;
    if (m_memory.materialDistance > 0.0)
        answers.distance = m_memory.materialDistance;
    answers.armSpacing = armSpacing();
    return answers;
}

double MaterialPlacement::armSpacing() const
{
    const MachineState& s = m_context.machine;
    return s.armSpacing > 0.0 ? s.armSpacing : s.fcWidth;
}

bool MaterialPlacement::Start(TMDIChild& mix, const PlacementAnswers& answers)
{
    acceptedMove.reset();
    m_context.machine.armSpacing = answers.armSpacing;
    if (const auto refusal = placementRefusal(answers, m_context.machine.fcWidth)) {
        m_context.language.ShowMessageBox(m_context.Text(kSection, *refusal), true);
        return false;
    }
    m_memory.materialWidth = answers.width;
    m_memory.materialDistance = answers.distance;
    const ArmExtremes extremes = projectOntoArmPlanes(mix, answers.width, answers.distance, answers.armSpacing);
    const double scale = m_context.configuration.number(Param::skala) / 100.0;
    const ArmExtremes scaled{hundredths(extremes.minX) * scale, hundredths(extremes.minY) * scale,
                             hundredths(extremes.maxX) * scale, hundredths(extremes.maxY) * scale};
    return workingAreaTest(mix, scaled);
}

bool MaterialPlacement::workingAreaTest(TMDIChild& mix, const ArmExtremes& scaled)
{
    MachineState& s = m_context.machine;
    // Where the arms stand decides everything below: a position that was not read is no position.
    if (m_protocol && !m_protocol->ReadPositions()) {
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
        return false;
    }
    StandPoint start;
    if (!mix.figures.empty() && !mix.figures[0].points.empty()) {
        const double skala = m_context.configuration.number(Param::skala);
        const Point first = mix.figures[0].points.front();
        start = {scaledStart(first.x - mix.minX, skala), scaledStart(first.y - mix.minY, skala)};
    }
    const AreaVerdict verdict = workingAreaVerdict(scaled, start, {s.frontX / 100.0, s.frontY / 100.0},
                                                   {s.backX / 100.0, s.backY / 100.0}, s.limitX, s.limitY);
    switch (verdict.kind) {
    case AreaVerdict::Kind::Inside:
        return true;
    case AreaVerdict::Kind::TooLarge:
        m_context.language.ShowMessageBox(m_context.Text(kSection, "ruchRamionPozaObszRob") + "\n" +
                                              m_context.Text(kSection, "WyliczonaSzerFig") + "\nx = " +
                                              mmText(verdict.sizeX) + "\ny = " + mmText(verdict.sizeY),
                                          true);
        return false;
    case AreaVerdict::Kind::Outside:
        break;
    }
    const std::string question = m_context.Text(kSection, "CiecieNiemozliweRamionaPozaObsz") + "\n" +
                                 m_context.Text(kSection, "MinLewaPozMat") + "\nx = " + mmText(verdict.proposed.x) +
                                 "\ny = " + mmText(verdict.proposed.y) + "\n" +
                                 m_context.Text(kSection, "CzyPrzesunacDrut");
    if (m_context.language.AskQuestion(question, Buttons::YesNo) == AnswerYes) {
        acceptedMove = verdict.proposed;
        if (m_protocol)
            moveArms(verdict.proposed);
    }
    // The operator presses Start again once the arms stand where they should.
    return false;
}

void MaterialPlacement::moveArms(StandPoint target)
{
    MachineState& s = m_context.machine;
    machine::ControllerProtocol& protocol = *m_protocol;
    if (!protocol.ReadStatus() || !protocol.ReadPositions()) {
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
        return;
    }
    const std::int32_t x = roundHalfEven(target.x * 100.0);
    const std::int32_t y = roundHalfEven(target.y * 100.0);
    if (s.frontX == x && s.backX == x && s.frontY == y && s.backY == y)
        return;
    const Configuration& config = m_context.configuration;
    protocol.SendCommand(machine::commands::heating(true, kMoveHeatingOutput));
    m_context.clock.sleepMs(roundHalfEven<std::int64_t>(config.number(Param::Pauza_w_kacie)));
    m_context.clock.sleepMs(roundHalfEven<std::int64_t>(config.number(Param::CzasRozgrzewania)));
    machine::AxisSteps steps{};
    steps[AxisFrontX] = roundHalfEven((x - s.frontX) * s.resX);
    steps[AxisBackX] = roundHalfEven((x - s.backX) * s.resX);
    steps[AxisFrontY] = roundHalfEven((y - s.frontY) * s.resY);
    steps[AxisBackY] = roundHalfEven((y - s.backY) * s.resY);
    const machine::MoveCommand move = protocol.BuildMove(machine::LetterMove, steps);
    if (move.count > 0)
        protocol.SendCommand(move.text);
    // The heated wire must not stand in the foam: off once the arms stand still, whatever
    // became of the move.
    protocol.WaitWhileBusy();
    protocol.SendCommand(machine::commands::heating(false, kMoveHeatingOutput));
    protocol.ReadPositions();
}

std::string MaterialPlacement::mmText(double millimetres) const
{
    char text[64];
    if (m_context.configuration.displayUnit == UnitMillimetre)
        std::snprintf(text, sizeof text, "%.2f [mm]", millimetres);
    else
        std::snprintf(text, sizeof text, "%.3f [inch]", millimetres / 25.4);
    std::string result = text;
    std::replace(result.begin(), result.end(), '.', m_context.decimalSeparator);
    return result;
}

}  // namespace kerfline
