#include "cutting/serial_answers.h"

#include "base/language.h"
#include "base/round.h"
#include "cutting/job_state.h"
#include "project/tmdichild.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kerfline {

double serialMinimumHeight(std::string_view product)
{
    // Controllers report the product padded with blanks.
    while (!product.empty() && (product.back() == ' ' || product.back() == '\0'))
        product.remove_suffix(1);
    return product == "N 45" ? 239.0 : 5.0;
}

std::optional<double> serialAngle(std::string_view text, char decimalSeparator)
{
    std::string copy(text);
    if (decimalSeparator != '.') {
        // The point always reads; the locale's separator reads as well.
        for (char& c : copy)
            if (c == decimalSeparator)
                c = '.';
    }
    const char* begin = copy.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    while (*end == ' ')
        ++end;
    if (*end != '\0' || value < -360.0 || value > 360.0)
        return std::nullopt;
    return value;
}

std::string serialDefaultAngle(std::size_t designs, char decimalSeparator)
{
    if (designs == 0)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", 180.0 / static_cast<double>(designs));
    std::string angle(text);
    for (char& c : angle)
        if (c == '.')
            c = decimalSeparator;
    return angle;
}

std::string serialAnswersMessage(const SerialAnswersCheck& check, const tInterfejs& language)
{
    switch (check.fault) {
    case SerialAnswersCheck::Fault::Angle: return language.Text("Serial_cut", "poprawKat") + std::to_string(check.row + 1);
    case SerialAnswersCheck::Fault::Repetitions: return language.Text("Serial_cut", "poprawIloscPowtorzen");
    case SerialAnswersCheck::Fault::None: break;
    }
    return {};
}

SerialAnswersCheck applySerialAnswers(const SerialAnswers& answers, const std::vector<TMDIChild*>& windows,
                                      SerialRepetition& repetition, std::string_view product, double tableY)
{
    std::vector<double> angles;
    for (std::size_t row = 0; row < windows.size(); ++row) {
        const auto angle = row < answers.angles.size() ? serialAngle(answers.angles[row], answers.decimalSeparator) : std::nullopt;
        if (!angle)
            return {SerialAnswersCheck::Fault::Angle, row};
        angles.push_back(*angle);
    }
    const int repetitions = roundHalfEven(answers.repetitions);
    if (tableY - repetitions * answers.shiftMm < serialMinimumHeight(product))
        return {SerialAnswersCheck::Fault::Repetitions, 0};
    for (std::size_t row = 0; row < windows.size(); ++row)
        windows[row]->rotationAngle = angles[row];
    repetition.remaining = repetitions;
    repetition.shiftMm = answers.shiftMm;
    return {};
}

}  // namespace kerfline
