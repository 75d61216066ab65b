#include "config/parameters.h"

namespace kerfline {
namespace {

using K = ParameterKind;
using P = DialogPlace;
using U = DialogUnit;
constexpr double kUnchecked = 0;
constexpr double kChecked = 1;

// The speed maxima (rows 14 and 15) and the power maximum (row 5) are replaced from the machine
// at run time; these are their values before a machine has been read.
constexpr std::array<ParameterInfo, kParameterCount> kParameters{{
    {Param::Mode, "Mode", K::Choice, 0, 0, 0, 0, 6,
     {.place = P::Choices,
      .caption = {.text = TextKey{"Configuration", "Mode.caption"}},
      .items = {TextKey{"Configuration", "mode.2D"}, TextKey{"Configuration", "mode.Obrotowe"},
                TextKey{"Configuration", "mode.Seryjne"}, TextKey{"Configuration", "mode.Toczenie"},
                TextKey{"Configuration", "mode.Niezalezne"}, TextKey{"Configuration", "mode.Prostopadle"}}}},
    {Param::AutoSave, "AutoSave", K::Check, kUnchecked, 0, 0, 0, 0,
     {.place = P::Commands, .caption = {.text = TextKey{"Configuration", "AutoSave.caption"}}}},
    // The items are the unit symbols, the same in every language.
    {Param::radiounit, "radiounit", K::Choice, 0, 0, 0, 0, 3,
     {.place = P::Choices, .row = 2, .caption = {.text = TextKey{"Configuration", "radioUnit.caption"}}}},
    {Param::CatDir, "CatDir", K::Choice, 2, 0, 0, 0, 3,
     {.place = P::CuttingDirection,
      .caption = {.text = TextKey{"Configuration", "CatDir.caption"}},
      .items = {TextKey{"Configuration", "catdir.Item0"}, TextKey{"Configuration", "catdir.Item1"},
                TextKey{"Configuration", "catdir.Item2"}}}},
    {Param::work_power, "work_power", K::Float, 1.0, 0, 100, 0.1, 0,
     {.place = P::CuttingFields, .row = 3,
      .caption = {"Labelpower", TextKey{"Configuration", "Labelpower.caption"}},
      .unitLabel = "LabelPowerJM", .unit = U::Power}},
    {Param::CzasRozgrzewania, "CzasRozgrzewania", K::Float, 1000, 0, 10000, 100, 0,
     {.place = P::CuttingFields, .row = 4,
      .caption = {"Labelstarttime", TextKey{"Configuration", "Labelstarttime.caption"}}}},
    {Param::Wstrzymaj, "Wstrzymaj", K::Check, kUnchecked, 0, 0, 0, 0,
     {.place = P::CuttingOptions, .row = 1, .caption = {.text = TextKey{"Configuration", "Wstrzymaj.caption"}}}},
    {Param::KierunekObrotow, "KierunekObrotow", K::Choice, 0, 0, 0, 0, 2,
     {.place = P::CuttingDirection, .row = 2,
      .caption = {.text = TextKey{"Configuration", "KierunekObrotow.caption"}},
      .items = {TextKey{"Configuration", "KierunekObrotow.Item0"}, TextKey{"Configuration", "KierunekObrotow.Item1"}}}},
    {Param::dopasujKierunek, "dopasujKierunek", K::Check, kChecked, 0, 0, 0, 0,
     {.place = P::CuttingDirection, .row = 1,
      .caption = {.text = TextKey{"Configuration", "dopasujKierunek.caption"}}}},
    {Param::il_obr_rys, "il_obr_rys", K::Float, 0, 0, 1000, 1, 0,
     {.place = P::CuttingFields, .row = 6,
      .caption = {"Labelilobr", TextKey{"Configuration", "Labelilobr.caption"}}}},
    {Param::Pauza_w_kacie, "Pauza_w_kacie", K::Float, 100, 0, 10000, 10, 0,
     {.place = P::CuttingFields, .row = 5,
      .caption = {"Labelpauza", TextKey{"Configuration", "Labelpauza.caption"}}}},
    {Param::ilosckrokow, "ilosckrokow", K::Float, 8, 1, 50000, 1, 0,
     {.place = P::CuttingFields, .row = 7,
      .caption = {"Labelilkrok", TextKey{"Configuration", "Labelilkrok.caption"}}}},
    {Param::Srednicamaterialu, "Srednicamaterialu", K::Length, 500, 0, 4000, 0, 0,
     {.place = P::CuttingFields, .row = 0,
      .caption = {"Labelsrednica", TextKey{"Configuration", "Labelsrednica.caption"}},
      .unitLabel = "Labelsrednicaunit", .unit = U::Length}},
    {Param::szybkoscObrobki, "szybkoscObrobki", K::Length, 1000, 20, 5000, 0, 0,
     {.place = P::CuttingFields, .row = 1,
      .caption = {"Labelspeed", TextKey{"Configuration", "Labelspeed.caption"}},
      .unitLabel = "LabelszybkoscObrobki", .unit = U::Speed}},
    {Param::PrzeSpeed, "PrzeSpeed", K::Length, 1000, 20, 5000, 0, 0,
     {.place = P::CuttingFields, .row = 2,
      .caption = {"Labelprzestawcza", TextKey{"Configuration", "Labelprzestawcza.caption"}},
      .unitLabel = "Labelprzespeed", .unit = U::Speed}},
    {Param::skala, "skala", K::Float, 100, 1, 1000, 1, 0,
     {.place = P::CuttingFields, .row = 8,
      .caption = {"Labelskala", TextKey{"Configuration", "LabelSkala.caption"}}}},
    {Param::Heavy, "Heavy", K::Check, kUnchecked, 0, 0, 0, 0,
     {.place = P::CuttingOptions, .row = 2, .caption = {.text = TextKey{"Configuration", "heavy.caption"}}}},
    {Param::StolikSwitch, "StolikSwitch", K::Choice, 0, 0, 0, 0, 3,
     {.place = P::CuttingOptions, .row = 0,
      .caption = {.text = TextKey{"Configuration", "stolikswitch.caption"}},
      .items = {TextKey{"Configuration", "stolikswitch.Item0"}, TextKey{"Configuration", "stolikswitch.Item1"},
                TextKey{"Configuration", "stolikswitch.Item2"}}}},
    {Param::AddFrame, "AddFrame", K::Check, kUnchecked, 0, 0, 0, 0,
     {.place = P::CuttingOptions, .row = 3, .caption = {.text = TextKey{"Configuration", "AddFrame.caption"}}}},
    {Param::MoveAfter, "MoveAfter", K::Check, kUnchecked, 0, 0, 0, 0,
     {.place = P::CuttingOptions, .row = 4, .caption = {.text = TextKey{"Configuration", "PrPrzesunPoCieciu"}}}},
    {Param::Xwrzeciona, "Xwrzeciona", K::Length, 12, -1000, 1000, 0, 0,
     {.place = P::SpindleAxis, .row = 0,
      .caption = {"LabelXwrzeciona", TextKey{"Configuration", "labelXwrzeciona.caption"}},
      .unitLabel = "Xwrzecionaunit", .unit = U::Length}},
    {Param::Ywrzeciona, "Ywrzeciona", K::Length, 730, 0, 2000, 0, 0,
     {.place = P::SpindleAxis, .row = 1,
      .caption = {"LabelYwrzeciona", TextKey{"Configuration", "Labelywrzeciona.caption"}},
      .unitLabel = "ywrzecionaunit", .unit = U::Length}},
    {Param::Xstolika, "Xstolika", K::Length, 1000, 0, 3000, 0, 0,
     {.place = P::TableAxis, .row = 0,
      .caption = {"LabelXstolika", TextKey{"Configuration", "labelXStolika.caption"}},
      .unitLabel = "XstolikaUnit", .unit = U::Length}},
    {Param::Ystolika, "Ystolika", K::Length, 250, 0, 3000, 0, 0,
     {.place = P::TableAxis, .row = 1,
      .caption = {"LabelYstolika", TextKey{"Configuration", "LabelYStolika.caption"}},
      .unitLabel = "YstolikaUnit", .unit = U::Length}},
    {Param::Xnarzedzia, "Xnarzedzia", K::Length, 0, -1000, 1000, 0, 0,
     {.place = P::ToolOffset, .row = 0,
      .caption = {"LabelXnarzedzia", TextKey{"Configuration", "labelXNarzedzia.caption"}},
      .unitLabel = "xnarzedziaunit", .unit = U::Length}},
    {Param::Ynarzedzia, "Ynarzedzia", K::Length, 0, -1000, 1000, 0, 0,
     {.place = P::ToolOffset, .row = 1,
      .caption = {"LabelYnarzedzia", TextKey{"Configuration", "labelYNarzedzia.caption"}},
      .unitLabel = "Ynarzedziaunit", .unit = U::Length}},
    {Param::feKalibracjaX, "feKalibracjaX", K::Float, 0, -5, 5, 1, 0,
     {.place = P::Calibration, .row = 0,
      .caption = {"lKalibracjaX", TextKey{"Configuration", "lKalibracjaX.caption"}}}},
    {Param::feKalibracjaY, "feKalibracjaY", K::Float, 0, -5, 5, 1, 0,
     {.place = P::Calibration, .row = 1,
      .caption = {"lKalibracjaY", TextKey{"Configuration", "lKalibracjaY.caption"}}}},
    // The program opens no connection to look for updates.
    {Param::cbCheckForUpdate, "cbCheckForUpdate", K::Check, kUnchecked, 0, 0, 0, 0,
     {.place = P::Hidden, .caption = {.text = TextKey{"Configuration", "cbCheckForUpdate.caption"}}}},
    {Param::rgBazowanie, "rgBazowanie", K::Choice, 0, 0, 0, 0, 2,
     {.place = P::Homing,
      .caption = {.text = TextKey{"Configuration", "rgBazowanie.caption"}},
      .items = {TextKey{"Configuration", "rgBazowanie.items0"}, TextKey{"Configuration", "rgBazowanie.items1"}}}},
    {Param::rgKatObrotu, "rgKatObrotu", K::Choice, 0, 0, 0, 0, 2,
     {.place = P::Serial,
      .caption = {.text = TextKey{"Configuration", "rgKatObrotu.caption"}},
      .items = {TextKey{"Configuration", "rgKatObrotuItem0"}, TextKey{"Configuration", "rgKatObrotuItem1"}}}},
    {Param::rgAlgorytmObrotowego, "rgAlgorytmObrotowego", K::Choice, 0, 0, 0, 0, 2,
     {.place = P::Rotary,
      .caption = {.text = TextKey{"Configuration", "rgAlgorytmObrotowego.caption"}},
      .items = {TextKey{"Configuration", "rgAlgorytmObrotowegoItem0"},
                TextKey{"Configuration", "rgAlgorytmObrotowegoItem1"}}}},
    {Param::fuPlt_accuracy, "fuPlt_accuracy", K::Length, 0.25, 0.05, 0.25, 0, 0,
     {.place = P::Other, .row = 0,
      .caption = {"Labelplt_accuracy", TextKey{"Configuration", "Labelplt_accuracy.caption"}},
      .unitLabel = "fuPlt_accuracyLabel", .unit = U::FineLength}},
    {Param::sbWspSymulacji, "sbWspSymulacji", K::Position, 0, 0, 60, 0, 0,
     {.place = P::Other, .row = 1,
      .caption = {"LabelSymulacja", TextKey{"Configuration", "LabelSymulacja.caption"}},
      .low = {"LabelSymulacjaNormalna", TextKey{"Configuration", "LabelSymulacjaNormalna.caption"}},
      .high = {"LabelSymulacjaSzybka", TextKey{"Configuration", "LabelSymulacjaSzybka.caption"}}}},
    {Param::sbRozdzKrzywychDXF, "sbRozdzKrzywychDXF", K::Position, 1, 1, 8, 0, 0,
     {.place = P::Other, .row = 2,
      .caption = {"lRozdzielczoscKrzywychDXF", TextKey{"Configuration", "lRozdzielczoscKrzywychDXF.caption"}},
      .low = {"lRozdzKrzywychDXFmala", TextKey{"Configuration", "lRozdzKrzywychDXFmala.caption"}},
      .high = {"lRozdzKrzywychDXFduza", TextKey{"Configuration", "lRozdzKrzywychDXFduza.caption"}}}},
    // A frame around the two lathe-speed radio buttons: a group without items of its own.
    {Param::rgPredkoscTokarki, "rgPredkoscTokarki", K::Choice, -1, 0, 0, 0, 0,
     {.place = P::Other, .row = 3, .caption = {.text = TextKey{"Configuration", "rgPredkoscTokarki.caption"}}}},
    {Param::rbZmiennaPredkosc, "rbZmiennaPredkosc", K::Radio, 0, 0, 0, 0, 0,
     {.place = P::LatheSpeed, .row = 0,
      .caption = {.text = TextKey{"Configuration", "rbZmiennaPredkosc.caption"}},
      .hint = TextKey{"Configuration", "rbZmiennaPredkosc.hint"}}},
    {Param::rbStalaPredkosc, "rbStalaPredkosc", K::Radio, 0, 0, 0, 0, 0,
     {.place = P::LatheSpeed, .row = 1,
      .caption = {.text = TextKey{"Configuration", "rbStalaPredkosc.caption"}},
      .hint = TextKey{"Configuration", "rbStalaPredkosc.hint"}}},
    {Param::PowerOutput, "PowerOutput", K::Choice, 0, 0, 0, 0, 2,
     {.place = P::Choices, .row = 1,
      .caption = {.text = TextKey{"Configuration", "PowerOutput.Caption"}},
      .items = {TextKey{"Configuration", "PowerOutput.Items0"}, TextKey{"Configuration", "PowerOutput.Items1"}}}},
    // The width of the channel the hot wire melts; the path is offset by half of it. Written
    // last, so files of earlier versions read as 0: no compensation.
    {Param::kerf, "kerf", K::Length, 0, 0, 5, 0.01, 0,
     {.place = P::CuttingFields, .row = 9,
      .caption = {"Labelkerf", TextKey{"Configuration", "Labelkerf.caption"}},
      .unitLabel = "Labelkerfunit", .unit = U::FineLength}},
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

int machineSizeDecimals(int displayUnit)
{
    return displayUnit == UnitInch ? 2 : displayUnit == UnitFoot ? 3 : 1;
}

}  // namespace kerfline
