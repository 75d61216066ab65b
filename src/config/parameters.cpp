#include "config/parameters.h"

namespace kerfline {
namespace {

using K = ParameterKind;
constexpr double kUnchecked = 0;
constexpr double kChecked = 1;

// The speed maxima (rows 14 and 15) and the power maximum (row 5) are replaced from the machine
// at run time; these are their values before a machine has been read.
constexpr std::array<ParameterInfo, kParameterCount> kParameters{{
    {Param::Mode, "Mode", K::Choice, 0, 0, 0, 0, 6},
    {Param::AutoSave, "AutoSave", K::Check, kUnchecked, 0, 0, 0, 0},
    {Param::radiounit, "radiounit", K::Choice, 0, 0, 0, 0, 3},
    {Param::CatDir, "CatDir", K::Choice, 2, 0, 0, 0, 3},
    {Param::work_power, "work_power", K::Float, 1.0, 0, 100, 0.1, 0},
    {Param::CzasRozgrzewania, "CzasRozgrzewania", K::Float, 1000, 0, 10000, 100, 0},
    {Param::Wstrzymaj, "Wstrzymaj", K::Check, kUnchecked, 0, 0, 0, 0},
    {Param::KierunekObrotow, "KierunekObrotow", K::Choice, 0, 0, 0, 0, 2},
    {Param::dopasujKierunek, "dopasujKierunek", K::Check, kChecked, 0, 0, 0, 0},
    {Param::il_obr_rys, "il_obr_rys", K::Float, 0, 0, 1000, 1, 0},
    {Param::Pauza_w_kacie, "Pauza_w_kacie", K::Float, 100, 0, 10000, 10, 0},
    {Param::ilosckrokow, "ilosckrokow", K::Float, 8, 1, 50000, 1, 0},
    {Param::Srednicamaterialu, "Srednicamaterialu", K::Length, 500, 0, 4000, 0, 0},
    {Param::szybkoscObrobki, "szybkoscObrobki", K::Length, 1000, 20, 5000, 0, 0},
    {Param::PrzeSpeed, "PrzeSpeed", K::Length, 1000, 20, 5000, 0, 0},
    {Param::skala, "skala", K::Float, 100, 1, 1000, 1, 0},
    {Param::Heavy, "Heavy", K::Check, kUnchecked, 0, 0, 0, 0},
    {Param::StolikSwitch, "StolikSwitch", K::Choice, 0, 0, 0, 0, 3},
    {Param::AddFrame, "AddFrame", K::Check, kUnchecked, 0, 0, 0, 0},
    {Param::MoveAfter, "MoveAfter", K::Check, kUnchecked, 0, 0, 0, 0},
    {Param::Xwrzeciona, "Xwrzeciona", K::Length, 12, -1000, 1000, 0, 0},
    {Param::Ywrzeciona, "Ywrzeciona", K::Length, 730, 0, 2000, 0, 0},
    {Param::Xstolika, "Xstolika", K::Length, 1000, 0, 3000, 0, 0},
    {Param::Ystolika, "Ystolika", K::Length, 250, 0, 3000, 0, 0},
    {Param::Xnarzedzia, "Xnarzedzia", K::Length, 0, -1000, 1000, 0, 0},
    {Param::Ynarzedzia, "Ynarzedzia", K::Length, 0, -1000, 1000, 0, 0},
    {Param::feKalibracjaX, "feKalibracjaX", K::Float, 0, -5, 5, 1, 0},
    {Param::feKalibracjaY, "feKalibracjaY", K::Float, 0, -5, 5, 1, 0},
    {Param::cbCheckForUpdate, "cbCheckForUpdate", K::Check, kUnchecked, 0, 0, 0, 0},
    {Param::rgBazowanie, "rgBazowanie", K::Choice, 0, 0, 0, 0, 2},
    {Param::rgKatObrotu, "rgKatObrotu", K::Choice, 0, 0, 0, 0, 2},
    {Param::rgAlgorytmObrotowego, "rgAlgorytmObrotowego", K::Choice, 0, 0, 0, 0, 2},
    {Param::fuPlt_accuracy, "fuPlt_accuracy", K::Length, 0.25, 0.05, 0.25, 0, 0},
    {Param::sbWspSymulacji, "sbWspSymulacji", K::Position, 0, 0, 60, 0, 0},
    {Param::sbRozdzKrzywychDXF, "sbRozdzKrzywychDXF", K::Position, 1, 1, 8, 0, 0},
    // A frame around the two lathe-speed radio buttons: a group without items of its own.
    {Param::rgPredkoscTokarki, "rgPredkoscTokarki", K::Choice, -1, 0, 0, 0, 0},
    {Param::rbZmiennaPredkosc, "rbZmiennaPredkosc", K::Radio, 0, 0, 0, 0, 0},
    {Param::rbStalaPredkosc, "rbStalaPredkosc", K::Radio, 0, 0, 0, 0, 0},
    {Param::PowerOutput, "PowerOutput", K::Choice, 0, 0, 0, 0, 2},
}};

constexpr bool tableInEnumOrder()
{
    for (int i = 0; i < kParameterCount; ++i)
        if (static_cast<int>(kParameters[static_cast<std::size_t>(i)].id) != i)
            return false;
    return true;
}
static_assert(tableInEnumOrder(), "the parameter table follows the order of Param");

}  // namespace

const std::array<ParameterInfo, kParameterCount>& parameterTable()
{
    return kParameters;
}

const ParameterInfo& parameterInfo(Param p)
{
    return kParameters[static_cast<std::size_t>(p)];
}

std::optional<Param> parameterByKey(std::string_view key)
{
    for (const ParameterInfo& info : kParameters)
        if (key == info.key)
            return info.id;
    return std::nullopt;
}

std::string_view checkStateName(CheckState state)
{
    switch (state) {
    case CheckState::cbChecked: return "cbChecked";
    case CheckState::cbGrayed: return "cbGrayed";
    case CheckState::cbUnchecked: break;
    }
    return "cbUnchecked";
}

double unitFactor(int displayUnit)
{
    switch (displayUnit) {
    case UnitInch: return 25.4;
    case UnitFoot: return 304.8;
    default: return 1.0;
    }
}

}  // namespace kerfline
