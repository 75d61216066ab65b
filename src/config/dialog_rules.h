#pragma once

#include "config/parameters.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kerfline {

class tInterfejs;
struct MachineState;

// The controls of the configuration dialog whose enabled state the rules set.
enum class Control : int {
    CatDir,
    Srednicamaterialu,
    Labelsrednica,
    Ynarzedzia,
    LabelYnarzedzia,
    szybkoscObrobki,
    Labelspeed,
    PrzeSpeed,
    Labelprzestawcza,
    work_power,
    Labelpower,
    CzasRozgrzewania,
    Labelstarttime,
    Wstrzymaj,
    KierunekObrotow,
    ilosckrokow,
    Labelilkrok,
    Xnarzedzia,
    LabelXnarzedzia,
    dopasujKierunek,
    Xwrzeciona,
    Ywrzeciona,
    LabelXwrzeciona,
    LabelYwrzeciona,
    il_obr_rys,
    Labelilobr,
    Pauza_w_kacie,
    Labelpauza,
    Labelsrednicaunit,
    Labelprzespeed,
    Heavy,
    StolikSwitch,
    PowerOutput,
    MoveAfter,
    tabSeryjne,
    rgKatObrotu,
};
inline constexpr int kControlCount = 36;

// Which widget of the dialog a control is: a parameter's own control, the caption label or the
// unit label of its row, or the serial tab.
enum class ControlPart { Field, Caption, Unit, SerialTab };
struct ControlWidget {
    ControlPart part;
    Param param;  // unused for the serial tab
};
ControlWidget controlWidget(Control control);

// Enabled states by control; nothing for a control the rule leaves as it is.
using EnableChanges = std::array<std::optional<bool>, kControlCount>;

// The rotary-setting rule: in rotary cutting and turning the steps per rotation and the
// rotations per drawing (and their labels) are enabled exactly when there is a rotary device.
EnableChanges rotarySettingRule(int mode, int stolikSwitch);

// What UpdateEnabled does for the chosen mode: the rotary-setting rule first, then the table of
// the mode. Values are forced only where the mode fixes them.
struct EnableRules {
    EnableChanges enabled{};
    std::optional<int> catDir;
    std::optional<int> stolikSwitch;
    std::optional<int> powerOutput;
    bool uncheckMoveAfter = false;
    // The hint of Mode recommends this PowerOutput item; -1 leaves the hint empty.
    int modeHintPowerOutput = -1;
};
EnableRules UpdateEnabled(int mode, int catDir, int stolikSwitch);

// The hint of Mode: "zalecane : " and the recommended power output, or empty.
std::string modeHintText(int modeHintPowerOutput, const tInterfejs& language);

// MoveAfter is shown only on the two-wire family.
bool moveAfterVisible(const MachineState& machine);

// +1 when CatDir is 0 or 2 (right or both ways), -1 when it is 1 (left).
int xFeedSign(int catDir);

// The unit parts of the dialog for a display unit.
struct UnitTexts {
    std::string length;      // "[mm]": Labelsrednicaunit and the other length unit labels
    std::string speed;       // "[mm" + "/min]": LabelszybkoscObrobki, Labelprzespeed
    int lengthDecimals;      // 1 for mm, 2 for inch, 3 for foot
    int accuracyDecimals;    // fuPlt_accuracy shows one decimal more
};
std::string_view unitText(int displayUnit);  // "mm", "in", "ft"
UnitTexts unitTexts(int displayUnit, const tInterfejs& language);

// The text of an item of a choice: its language text; the display units by their symbols.
std::string choiceItemText(Param p, int item, const tInterfejs& language);

// The picture of the rotary cutting sequence. When the file is missing the image is cleared
// and the hint names the file.
struct SchemePicture {
    std::string path;
    bool found = false;
    std::string hint;
};
// Nothing when no sequence is chosen.
std::optional<SchemePicture> rotarySchemePicture(int rgAlgorytmObrotowego, const std::string& programDirectory,
                                                 const tInterfejs& language);

}  // namespace kerfline
