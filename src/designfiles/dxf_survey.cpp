#include "designfiles/dxf_survey.h"

#include "designfiles/byte_reader.h"
#include "designfiles/text_lines.h"

#include <charconv>

namespace kerfline {
namespace {

// A drawing of hostile size must not grow the survey without bound.
constexpr std::size_t kMaxKinds = 64;
constexpr std::size_t kMaxKindLength = 32;

std::optional<int> groupValue(std::string_view text)
{
    text = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

DxfSurvey surveyDxf(const std::string& path)
{
    DxfSurvey survey;
    ByteReader file;
    if (file.open(path) != 0)
        return survey;
    survey.opened = true;
    TextLines lines(file);
    lines.reset();
    std::string section;
    bool sectionNameNext = false;
    bool insUnitsNext = false;
    while (true) {
        const std::optional<int> code = groupValue(lines.read());
        if (lines.exhausted())
            break;
        const std::string_view value = trimmed(lines.read());
        if (!code)
            continue;
        if (*code == 0) {
            sectionNameNext = value == "SECTION";
            if (value == "ENDSEC")
                section.clear();
            else if (section == "ENTITIES" && !value.empty() && value.size() <= kMaxKindLength &&
                     (survey.entityKinds.size() < kMaxKinds || survey.entityKinds.count(std::string(value)) != 0))
                ++survey.entityKinds[std::string(value)];
        } else if (*code == 2 && sectionNameNext) {
            section = std::string(value.substr(0, kMaxKindLength));
            sectionNameNext = false;
            survey.hasEntities = survey.hasEntities || section == "ENTITIES";
        } else if (*code == 9) {
            insUnitsNext = section == "HEADER" && value == "$INSUNITS";
        } else if (*code == 70 && insUnitsNext) {
            survey.insUnits = groupValue(value);
            insUnitsNext = false;
        }
        if (lines.exhausted())
            break;
    }
    return survey;
}

namespace {

struct InsUnit {
    int code;
    double millimetres;
    std::string_view symbol;
};

constexpr InsUnit kInsUnits[] = {
    {1, 25.4, "in"}, {2, 304.8, "ft"}, {4, 1.0, "mm"},     {5, 10.0, "cm"},
    {6, 1000.0, "m"}, {9, 0.0254, "mil"}, {10, 914.4, "yd"}, {14, 100.0, "dm"},
};

const InsUnit* findInsUnit(int code)
{
    for (const InsUnit& unit : kInsUnits)
        if (unit.code == code)
            return &unit;
    return nullptr;
}

}  // namespace

std::optional<double> insUnitsMillimetres(int insUnits)
{
    const InsUnit* unit = findInsUnit(insUnits);
    return unit ? std::optional<double>(unit->millimetres) : std::nullopt;
}

std::string_view insUnitsSymbol(int insUnits)
{
    const InsUnit* unit = findInsUnit(insUnits);
    return unit ? unit->symbol : std::string_view{};
}

}  // namespace kerfline
