#include "cutting/base_points.h"

#include "config/number_text.h"
#include "cutting/base_points_file.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

#include <algorithm>

namespace kerfline {
namespace {

constexpr std::size_t kValueWidth = 9;
constexpr int kSpeedSetTravel = 2;
constexpr int kHeatingOutput = 2;

std::string padded(std::string text)
{
    if (text.size() < kValueWidth)
        text.insert(0, kValueWidth - text.size(), ' ');
    return text;
}

std::optional<double> valueAfter(const std::string& line, const char* marker)
{
    const std::size_t at = line.find(marker);
    if (at == std::string::npos)
        return std::nullopt;
    std::string field = line.substr(at + 2, kValueWidth);
    // Blanks around the number are the padding.
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    field = field.substr(first, field.find_last_not_of(' ') - first + 1);
    return parseDecimal(field);
}

}  // namespace

std::string formatBasePointLine(double xMm, double yMm, int displayUnit, char separator)
{
    const double factor = unitFactor(displayUnit);
    return "X=" + padded(formatFixed(xMm / factor, 3, separator)) + "   Y=" +
           padded(formatFixed(yMm / factor, 3, separator));
}

std::optional<BasePoint> parseBasePointLine(const std::string& line, int displayUnit)
{
    const std::optional<double> x = valueAfter(line, "X=");
    const std::optional<double> y = valueAfter(line, "Y=");
    if (!x || !y)
        return std::nullopt;
    const double factor = unitFactor(displayUnit);
    return BasePoint{*x * factor, *y * factor};
}

TPunkty_bazowe::TPunkty_bazowe(AppContext& context, machine::ControllerProtocol& protocol,
                               machine::MotionOperations& motion)
    : m_context(context), m_protocol(protocol), m_motion(motion)
{
}

std::string TPunkty_bazowe::filePath() const
{
    return m_context.dataDirectory + "base.txt";
}

void TPunkty_bazowe::FormCreate()
{
    const BasePointsFileResult result = readBasePointsFile(filePath(), m_context.Text("Base_points", "bladOdczytu"));
    m_lines = result.lines;
    m_selected = -1;
    m_actionsEnabled = false;
    if (!result.ok)
        m_context.language.ShowMessageBox(result.message, true);
}

bool TPunkty_bazowe::FormDestroy()
{
    const BasePointsFileResult result =
        writeBasePointsFile(filePath(), m_lines, m_context.Text("Base_points", "bladZapisu"));
    if (!result.ok)
        m_context.language.ShowMessageBox(result.message, true);
    return result.ok;
}

void TPunkty_bazowe::listaClick(int index)
{
    if (index < 0 || index >= static_cast<int>(m_lines.size()))
        return;
    m_selected = index;
    m_actionsEnabled = true;
}

void TPunkty_bazowe::DodajClick()
{
    const MachineState& s = m_context.machine;
    // A point is stored only as read from the machine.
    if (!m_protocol.ReadPositions()) {
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
        return;
    }
    m_lines.push_back(formatBasePointLine(s.frontX / 100.0, s.frontY / 100.0, m_context.configuration.displayUnit,
                                          m_context.decimalSeparator));
    m_selected = static_cast<int>(m_lines.size()) - 1;
}

void TPunkty_bazowe::usunClick()
{
    if (m_selected < 0 || m_selected >= static_cast<int>(m_lines.size()))
        return;
    m_lines.erase(m_lines.begin() + m_selected);
    if (m_lines.empty()) {
        m_selected = -1;
        m_actionsEnabled = false;
        return;
    }
    // After the last line the one before it takes the selection, so delete and go keep a target.
    m_selected = std::min(m_selected, static_cast<int>(m_lines.size()) - 1);
}

bool TPunkty_bazowe::ustawClick()
{
    if (m_lines.empty() || m_selected < 0 || m_selected >= static_cast<int>(m_lines.size()))
        return false;
    const std::string& line = m_lines[static_cast<std::size_t>(m_selected)];
    const std::optional<BasePoint> point = parseBasePointLine(line, m_context.configuration.displayUnit);
    if (!point) {
        m_context.language.ShowMessageBox(formatText(m_context.Text("Base_points", "bladLinii"), {line}), true);
        return false;
    }
    m_motion.heatForMove(kHeatingOutput);
    m_context.clock.sleepMs(roundHalfEven<std::int64_t>(m_context.configuration.number(Param::CzasRozgrzewania)));
    m_protocol.ReadPositions();
    const MachineState& s = m_context.machine;
    m_motion.gotopoint(false, kSpeedSetTravel, point->x, point->x, point->y, point->y, s.tableRemainder,
                       s.spindleRemainder);
    return true;
}

bool TPunkty_bazowe::listaDblClick(int index)
{
    listaClick(index);
    return ustawClick();
}

}  // namespace kerfline
