#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kerfline {

class tInterfejs;

// The label of a barcode project as the label printer's EPL2 language prints it.

using DefaultLabelLines = std::array<std::string, 5>;
using OperatorLabelLines = std::array<std::string, 4>;

// The five default lines from the configuration file's stored values of the mode, cutting
// speed, heating power, heat-up time and corner pause, each after its caption from the language
// file. A line whose value the file lacks stays empty, all five when the file cannot be read.
// A mode index outside the mode list shows as stored instead of naming a mode.
DefaultLabelLines defaultLabelLines(const std::string& configFilePath, const tInterfejs& language);

// The stored value texts of "name := value" lines, read as the configuration reader reads
// them (name up to the first blank, colon or equals sign; the value without those).
std::string konfigValueText(std::string_view konfigText, std::string_view name);

// Text as an EPL2 quoted data field: in Windows-1250, with `"` and `\` escaped by a backslash
// and control characters (CR, LF, tab, ...) dropped, so no text can end the field or start
// another command.
std::string epl2Quoted(std::string_view utf8);

// The EPL2 bytes of a label: clear, the EAN-13 barcode with readable digits, the 8-bit
// character set, the default lines, the trimmed operator lines without Polish letters, print
// `copies` times. Lines end with CR LF. `number` must be a valid EAN-13 number.
std::string labelBytes(const std::string& number, const DefaultLabelLines& defaults,
                       const OperatorLabelLines& operatorLines, int copies);

}  // namespace kerfline
