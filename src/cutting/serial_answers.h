#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

struct SerialRepetition;
class TMDIChild;
class tInterfejs;

// The answers of the serial dialog: one angle text per project window of the series, in the
// windows' order, the repetition count and the shift of the start per repetition.
struct SerialAnswers {
    std::vector<std::string> angles;
    double repetitions = 0.0;
    double shiftMm = 0.0;
    char decimalSeparator = '.';  // the locale's, which the angles may be typed with
};

// Why the answers were refused; nothing was stored then.
struct SerialAnswersCheck {
    enum class Fault { None, Angle, Repetitions } fault = Fault::None;
    std::size_t row = 0;  // the first row whose angle is wrong
    bool ok() const { return fault == Fault::None; }
};

// The lowest the start may go down with repetitions: the "N 45" stands lower on its table.
double serialMinimumHeight(std::string_view product);

// The angle of one row in degrees, or nothing when it is no number or beyond a full turn.
std::optional<double> serialAngle(std::string_view text, char decimalSeparator = '.');

// The angle every row starts with: half a turn shared by the designs of the series, in degrees,
// written as the operator would type it.
std::string serialDefaultAngle(std::size_t designs, char decimalSeparator = '.');

// The message of a refusal: the row of the first bad angle, or the repetitions that go too low.
std::string serialAnswersMessage(const SerialAnswersCheck& check, const tInterfejs& language);

// Checks every answer before storing any, so a refusal leaves the windows and the job as they
// were; on success stores the angles in the windows and the repetition count and shift.
SerialAnswersCheck applySerialAnswers(const SerialAnswers& answers, const std::vector<TMDIChild*>& windows,
                                      SerialRepetition& repetition, std::string_view product, double tableY);

}  // namespace kerfline
