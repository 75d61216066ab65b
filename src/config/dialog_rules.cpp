#include "config/dialog_rules.h"

#include "config/parameters.h"
#include "machine/machine_state.h"
#include "base/language.h"

#include <filesystem>

namespace kerfline {
namespace {

void set(EnableChanges& changes, std::initializer_list<Control> controls, bool enabled)
{
    for (const Control c : controls)
        changes[static_cast<std::size_t>(c)] = enabled;
}

}  // namespace

ControlWidget controlWidget(Control control)
{
    switch (control) {
    case Control::CatDir: return {ControlPart::Field, Param::CatDir};
    case Control::Srednicamaterialu: return {ControlPart::Field, Param::Srednicamaterialu};
    case Control::Labelsrednica: return {ControlPart::Caption, Param::Srednicamaterialu};
    case Control::Ynarzedzia: return {ControlPart::Field, Param::Ynarzedzia};
    case Control::LabelYnarzedzia: return {ControlPart::Caption, Param::Ynarzedzia};
    case Control::szybkoscObrobki: return {ControlPart::Field, Param::szybkoscObrobki};
    case Control::Labelspeed: return {ControlPart::Caption, Param::szybkoscObrobki};
    case Control::PrzeSpeed: return {ControlPart::Field, Param::PrzeSpeed};
    case Control::Labelprzestawcza: return {ControlPart::Caption, Param::PrzeSpeed};
    case Control::work_power: return {ControlPart::Field, Param::work_power};
    case Control::Labelpower: return {ControlPart::Caption, Param::work_power};
    case Control::CzasRozgrzewania: return {ControlPart::Field, Param::CzasRozgrzewania};
    case Control::Labelstarttime: return {ControlPart::Caption, Param::CzasRozgrzewania};
    case Control::Wstrzymaj: return {ControlPart::Field, Param::Wstrzymaj};
    case Control::KierunekObrotow: return {ControlPart::Field, Param::KierunekObrotow};
    case Control::ilosckrokow: return {ControlPart::Field, Param::ilosckrokow};
    case Control::Labelilkrok: return {ControlPart::Caption, Param::ilosckrokow};
    case Control::Xnarzedzia: return {ControlPart::Field, Param::Xnarzedzia};
    case Control::LabelXnarzedzia: return {ControlPart::Caption, Param::Xnarzedzia};
    case Control::dopasujKierunek: return {ControlPart::Field, Param::dopasujKierunek};
    case Control::Xwrzeciona: return {ControlPart::Field, Param::Xwrzeciona};
    case Control::Ywrzeciona: return {ControlPart::Field, Param::Ywrzeciona};
    case Control::LabelXwrzeciona: return {ControlPart::Caption, Param::Xwrzeciona};
    case Control::LabelYwrzeciona: return {ControlPart::Caption, Param::Ywrzeciona};
    case Control::il_obr_rys: return {ControlPart::Field, Param::il_obr_rys};
    case Control::Labelilobr: return {ControlPart::Caption, Param::il_obr_rys};
    case Control::Pauza_w_kacie: return {ControlPart::Field, Param::Pauza_w_kacie};
    case Control::Labelpauza: return {ControlPart::Caption, Param::Pauza_w_kacie};
    case Control::Labelsrednicaunit: return {ControlPart::Unit, Param::Srednicamaterialu};
    case Control::Labelprzespeed: return {ControlPart::Unit, Param::PrzeSpeed};
    case Control::Heavy: return {ControlPart::Field, Param::Heavy};
    case Control::StolikSwitch: return {ControlPart::Field, Param::StolikSwitch};
    case Control::PowerOutput: return {ControlPart::Field, Param::PowerOutput};
    case Control::MoveAfter: return {ControlPart::Field, Param::MoveAfter};
    case Control::tabSeryjne: return {ControlPart::SerialTab, Param::Mode};
    case Control::rgKatObrotu: return {ControlPart::Field, Param::rgKatObrotu};
    }
    return {ControlPart::Field, Param::Mode};
}

EnableChanges rotarySettingRule(int mode, int stolikSwitch)
{
    EnableChanges changes{};
    if (mode == ModeRotary || mode == ModeTurning)
        set(changes, {Control::Labelilkrok, Control::ilosckrokow, Control::Labelilobr, Control::il_obr_rys},
            stolikSwitch != DeviceNone);
    return changes;
}

EnableRules UpdateEnabled(int mode, int catDir, int stolikSwitch)
{
    EnableRules rules;
    rules.enabled = rotarySettingRule(mode, stolikSwitch);
    EnableChanges& e = rules.enabled;

    // Enabled in every mode.
    const auto always = {Control::szybkoscObrobki, Control::Labelspeed, Control::work_power, Control::Labelpower,
                         Control::CzasRozgrzewania, Control::Labelstarttime, Control::Xwrzeciona,
                         Control::Ywrzeciona, Control::LabelXwrzeciona, Control::LabelYwrzeciona,
                         Control::Pauza_w_kacie, Control::Labelpauza};
    const auto diameter = {Control::Srednicamaterialu, Control::Labelsrednica, Control::Labelsrednicaunit};
    const auto toolY = {Control::Ynarzedzia, Control::LabelYnarzedzia};
    const auto toolX = {Control::Xnarzedzia, Control::LabelXnarzedzia};
    const auto travel = {Control::PrzeSpeed, Control::Labelprzestawcza, Control::Labelprzespeed};
    const auto rotation = {Control::ilosckrokow, Control::Labelilkrok, Control::il_obr_rys, Control::Labelilobr};

    switch (mode) {
    case Mode2D:
    case ModeIndependent:
        set(e, always, true);
        set(e, {Control::CatDir, Control::Heavy}, true);
        set(e, diameter, false);
        set(e, toolY, false);
        set(e, toolX, false);
        set(e, travel, false);
        set(e, rotation, false);
        set(e, {Control::Wstrzymaj, Control::KierunekObrotow, Control::dopasujKierunek, Control::StolikSwitch,
                Control::MoveAfter},
            false);
        rules.stolikSwitch = DeviceNone;
        rules.uncheckMoveAfter = true;
        if (mode == Mode2D) {
            set(e, {Control::PowerOutput}, true);
        } else {
            set(e, {Control::PowerOutput}, false);
            rules.powerOutput = 0;
        }
        break;
    case ModeRotary:
    case ModeTurning:
        set(e, always, true);
        set(e, diameter, true);
        set(e, toolY, true);
        set(e, toolX, true);
        set(e, travel, true);
        set(e, {Control::CatDir, Control::Wstrzymaj, Control::KierunekObrotow, Control::Heavy,
                Control::StolikSwitch, Control::PowerOutput},
            true);
        set(e, rotation, mode == ModeRotary || stolikSwitch != DeviceNone);
        set(e, {Control::dopasujKierunek}, catDir == 2);
        set(e, {Control::MoveAfter}, false);
        rules.uncheckMoveAfter = true;
        rules.modeHintPowerOutput = mode == ModeRotary ? 0 : 1;
        break;
    case ModeSerial:
        // tool offsets and Heavy keep their state
        set(e, always, true);
        set(e, diameter, true);
        set(e, travel, true);
        set(e, {Control::Wstrzymaj, Control::StolikSwitch}, true);
        set(e, rotation, false);
        set(e, {Control::CatDir, Control::KierunekObrotow, Control::dopasujKierunek, Control::PowerOutput,
                Control::MoveAfter},
            false);
        rules.catDir = 2;
        rules.stolikSwitch = DeviceTable;
        rules.powerOutput = 0;
        rules.uncheckMoveAfter = true;
        break;
    case ModePerpendicular:
        set(e, always, true);
        set(e, travel, true);
        set(e, {Control::Heavy, Control::MoveAfter}, true);
        set(e, diameter, false);
        set(e, toolY, false);
        set(e, toolX, false);
        set(e, rotation, false);
        set(e, {Control::CatDir, Control::Wstrzymaj, Control::KierunekObrotow, Control::dopasujKierunek,
                Control::StolikSwitch, Control::PowerOutput},
            false);
        rules.stolikSwitch = DeviceNone;
        rules.powerOutput = 0;
        break;
    default:
        break;
    }

    set(e, {Control::tabSeryjne, Control::rgKatObrotu}, mode == ModeSerial);
    return rules;
}

std::string modeHintText(int modeHintPowerOutput, const tInterfejs& language)
{
    if (modeHintPowerOutput == 0)
        return language.Text("Configuration", "zalecane") + " : " + language.Text("Configuration", "PowerOutput.Items0");
    if (modeHintPowerOutput == 1)
        return language.Text("Configuration", "zalecane") + " : " + language.Text("Configuration", "PowerOutput.Items1");
    return {};
}

bool moveAfterVisible(const MachineState& machine)
{
    return machine.isTwoWireMachine();
}

int xFeedSign(int catDir)
{
    return catDir == 1 ? -1 : 1;
}

std::string_view unitText(int displayUnit)
{
    switch (displayUnit) {
    case UnitInch: return "in";
    case UnitFoot: return "ft";
    default: return "mm";
    }
}

UnitTexts unitTexts(int displayUnit, const tInterfejs& language)
{
    const std::string u(unitText(displayUnit));
    const int decimals = displayUnit == UnitInch ? 2 : displayUnit == UnitFoot ? 3 : 1;
    return UnitTexts{"[" + u + "]", "[" + u + language.Text("Configuration", "naMinute"), decimals, decimals + 1};
}

std::string choiceItemText(Param p, int item, const tInterfejs& language)
{
    if (p == Param::radiounit)
        return std::string(unitText(item));
    return language.Text(parameterInfo(p).dialog.items.at(static_cast<std::size_t>(item)));
}

std::optional<SchemePicture> rotarySchemePicture(int rgAlgorytmObrotowego, const std::string& programDirectory,
                                                 const tInterfejs& language)
{
    if (rgAlgorytmObrotowego != 0 && rgAlgorytmObrotowego != 1)
        return std::nullopt;
    SchemePicture picture;
    picture.path = programDirectory + (rgAlgorytmObrotowego == 0 ? "Images/RotaryCut1.bmp" : "Images/RotaryCut2.bmp");
    std::error_code ec;
    picture.found = std::filesystem::is_regular_file(picture.path, ec);
    if (!picture.found)
        picture.hint = language.Text("Universal", "txtPlikuBrak") + " :" + "\n\r" + picture.path;
    return picture;
}

}  // namespace kerfline
