#include "project/load_messages.h"

#include "base/language.h"
#include "designfiles/design_type.h"
#include "designfiles/dxf_survey.h"
#include "designfiles/hpgl_survey.h"
#include "config/dialog_rules.h"
#include "config/number_text.h"
#include "config/parameters.h"

#include <cmath>

namespace kerfline {
namespace {

bool oneOf(const std::string& kind, std::initializer_list<std::string_view> kinds)
{
    for (const std::string_view k : kinds)
        if (kind == k)
            return true;
    return false;
}

// The key of the reason a DXF drawing gave no figure, and the kinds it holds for the message
// that lists them; empty when the survey cannot tell.
std::string dxfEmptyCause(const tInterfejs& language, const DxfSurvey& survey)
{
    if (!survey.opened)
        return {};
    if (!survey.hasEntities)
        return language.Text("Project_window", "zbiorPustyBrakEncji");
    std::string unread;
    bool onlyText = true;
    bool onlyPoints = true;
    bool blocks = false;
    for (const auto& [kind, count] : survey.entityKinds) {
        // The kinds the reader makes figures of, and the parts of a polyline.
        if (oneOf(kind, {"LINE", "SPLINE", "CIRCLE", "ELLIPSE", "ARC", "POLYLINE", "LWPOLYLINE"}))
            return {};
        if (oneOf(kind, {"VERTEX", "SEQEND"}))
            continue;
        onlyText = onlyText && oneOf(kind, {"TEXT", "MTEXT", "ATTDEF", "ATTRIB"});
        onlyPoints = onlyPoints && kind == "POINT";
        blocks = blocks || kind == "INSERT";
        unread += (unread.empty() ? "" : ", ") + kind;
    }
    if (unread.empty())
        return language.Text("Project_window", "zbiorPustyBrakLinii");
    if (blocks)
        return language.Text("Project_window", "zbiorPustyBloki");
    if (onlyText)
        return language.Text("Project_window", "zbiorPustyTekst");
    if (onlyPoints)
        return language.Text("Project_window", "zbiorPustyPunkty");
    return formatText(language.Text("Project_window", "zbiorPustyEncje"), {unread});
}

}  // namespace

std::string sizeInDisplayUnit(SizeMm size, int decimals, int displayUnit, char decimalSeparator)
{
    const double factor = unitFactor(displayUnit);
    return formatFixed(size.width / factor, decimals, decimalSeparator) + " x " +
           formatFixed(size.height / factor, decimals, decimalSeparator) + " " + std::string(unitText(displayUnit));
}

std::string projectTooLargeMessage(const tInterfejs& language, SizeMm project, SizeMm machine, int displayUnit,
                                   char decimalSeparator)
{
    const int decimals = machineSizeDecimals(displayUnit);
    return language.Text("Main_window", "projektZaDuzy") + "\n" +
           formatText(language.Text("Main_window", "projektZaDuzyWymiary"),
                      {sizeInDisplayUnit(project, decimals, displayUnit, decimalSeparator),
                       sizeInDisplayUnit(machine, decimals, displayUnit, decimalSeparator)});
}

std::string emptyDesignMessage(const tInterfejs& language, const std::string& path, std::int32_t fileType,
                               std::size_t filteredByPen)
{
    std::string text = language.Text("Project_window", "zbiorPusty") + "\n" +
                       formatText(language.Text("Project_window", "zbiorPustyPlik"), {path});
    std::string cause;
    if (filteredByPen != 0)
        cause = language.Text("Project_window", "zbiorPustyKolory");
    else if (fileType == kDesignDxf)
        cause = dxfEmptyCause(language, surveyDxf(path));
    else if (fileType == kDesignHpgl)
        cause = language.Text("Project_window", hpglHasLabels(path) ? "zbiorPustyTekst" : "zbiorPustyBrakLinii");
    if (!cause.empty())
        text += "\n" + cause;
    return text;
}

std::string drawingUnitsNote(const tInterfejs& language, std::optional<int> insUnits, SizeMm asRead, int displayUnit,
                             char decimalSeparator)
{
    if (!insUnits)
        return {};
    const std::optional<double> declared = insUnitsMillimetres(*insUnits);
    const double shown = unitFactor(displayUnit);
    if (!declared || std::abs(*declared - shown) <= 1e-9 * shown)
        return {};
    const double factor = declared.value() / shown;
    return formatText(language.Text("Project_window", "dxfInnaJednostka"),
                      {insUnitsSymbol(*insUnits), unitText(displayUnit),
                       sizeInDisplayUnit({asRead.width * factor, asRead.height * factor},
                                         machineSizeDecimals(displayUnit), displayUnit, decimalSeparator)});
}

}  // namespace kerfline
