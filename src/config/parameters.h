#pragma once

#include "base/text_key.h"

#include <array>
#include <optional>
#include <string_view>

namespace kerfline {

// How a parameter is held and written.
enum class ParameterKind {
    Float,     // a plain number
    Length,    // millimetres whatever the display unit; speeds in millimetres per minute
    Check,     // a check box state
    Choice,    // a zero-based index in a radio group, -1 = nothing chosen
    Position,  // a scroll-bar position
    Radio,     // a single radio button
};

enum class CheckState { cbUnchecked, cbChecked, cbGrayed };

// The stored parameters in file order (the order of the controls in the dialog). The names are
// the keys of the configuration file, case and all.
enum class Param : int {
    Mode,
    AutoSave,
    radiounit,
    CatDir,
    work_power,
    CzasRozgrzewania,
    Wstrzymaj,
    KierunekObrotow,
    dopasujKierunek,
    il_obr_rys,
    Pauza_w_kacie,
    ilosckrokow,
    Srednicamaterialu,
    szybkoscObrobki,
    PrzeSpeed,
    skala,
    Heavy,
    StolikSwitch,
    AddFrame,
    MoveAfter,
    Xwrzeciona,
    Ywrzeciona,
    Xstolika,
    Ystolika,
    Xnarzedzia,
    Ynarzedzia,
    feKalibracjaX,
    feKalibracjaY,
    cbCheckForUpdate,
    rgBazowanie,
    rgKatObrotu,
    rgAlgorytmObrotowego,
    fuPlt_accuracy,
    sbWspSymulacji,
    sbRozdzKrzywychDXF,
    rgPredkoscTokarki,
    rbZmiennaPredkosc,
    rbStalaPredkosc,
    PowerOutput,
    kerf,
};
inline constexpr int kParameterCount = 40;

// Where the configuration dialog shows a parameter: a tab, and the column or group on it.
enum class DialogPlace {
    CuttingFields,     // tab TabSheet2: the numbers
    CuttingDirection,  // tab TabSheet2: the column of the cutting direction
    CuttingOptions,    // tab TabSheet2: the rotary device and the options
    SpindleAxis,       // tab ploter: the numbers above btnPobierzXYwrzeciona
    TableAxis,         // tab ploter: the numbers above btnPobierzXYstolika
    ToolOffset,        // tab ploter: the numbers below the buttons
    Calibration,       // tab ploter: group gbKalibracja
    Homing,            // tab ploter: below the calibration
    Serial,            // tab tabSeryjne
    Rotary,            // tab tabObrotowe, beside the scheme picture
    Other,             // tab tabInne
    LatheSpeed,        // tab tabInne: inside the frame rgPredkoscTokarki
    Choices,           // below the tabs
    Commands,          // below the tabs, above the buttons
    Hidden,            // kept in the file, never shown
};

// What the unit label beside a number shows.
enum class DialogUnit {
    None,
    Length,      // "[mm]"; the number has the decimals of the display unit
    FineLength,  // "[mm]"; one decimal more
    Speed,       // "[mm/min]"
    Power,       // "[A]" or "[%]", by the power output and the machine
};

// A label of the dialog: its object name and its text.
struct DialogLabel {
    const char* name = nullptr;
    TextKey text{};
};

// How the dialog shows a parameter. Texts are in section "Configuration".
struct DialogRow {
    DialogPlace place{};
    int row = 0;  // the position among the rows of its place, top to bottom
    // Numbers and scroll bars: a label before the control; otherwise no name, and the text is
    // the control's own title.
    DialogLabel caption{};
    const char* unitLabel = nullptr;
    DialogUnit unit = DialogUnit::None;
    std::array<TextKey, 6> items{};  // Choice: the texts of the items
    TextKey hint{};
    DialogLabel low{}, high{};  // Position: the labels at the two ends of the bar
};

// One row of the parameter table. Values of every kind are held as a double: the number, the
// choice index or position, the CheckState as 0/1/2, a radio button as 0/1.
struct ParameterInfo {
    Param id;
    const char* key;
    ParameterKind kind;
    double defaultValue;
    // Float, Length, Position: the range (none when equal). Choice: unused, see choiceCount.
    double minimum;
    double maximum;
    double step;       // spin increment of Float parameters; the resolution of the kerf; 0 elsewhere
    int choiceCount;   // Choice: the number of items in the list
    DialogRow dialog;
};

const std::array<ParameterInfo, kParameterCount>& parameterTable();
const ParameterInfo& parameterInfo(Param p);
std::optional<Param> parameterByKey(std::string_view key);

std::string_view checkStateName(CheckState state);

// The display units of lengths: 0 millimetre, 1 inch, 2 foot.
enum DisplayUnit : int { UnitMillimetre = 0, UnitInch = 1, UnitFoot = 2 };
// Millimetres per display unit.
double unitFactor(int displayUnit);
// The decimals a machine size takes in a unit: 1 for millimetres, 2 for inches, 3 for feet.
int machineSizeDecimals(int displayUnit);

// The cutting modes, the index of Mode.
enum CuttingMode : int {
    Mode2D = 0,
    ModeRotary = 1,
    ModeSerial = 2,
    ModeTurning = 3,
    ModeIndependent = 4,
    ModePerpendicular = 5,
};

// The rotary device, the index of StolikSwitch.
enum RotaryDevice : int { DeviceSpindle = 0, DeviceTable = 1, DeviceNone = 2 };

}  // namespace kerfline
