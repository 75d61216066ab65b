#include "model3d/raw_reader.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kerfline::model3d {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Sign, digits, an optional fraction after a point, an optional exponent; nothing else.
std::optional<double> parseRawNumber(std::string_view field)
{
    std::size_t i = 0;
    const std::size_t n = field.size();
    if (i < n && (field[i] == '+' || field[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && isDigit(field[i]))
        ++i, ++digits;
    if (i < n && field[i] == '.') {
        ++i;
        while (i < n && isDigit(field[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (field[i] == 'e' || field[i] == 'E')) {
        ++i;
        if (i < n && (field[i] == '+' || field[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        while (i < n && isDigit(field[i]))
            ++i;
        if (i == exponentStart)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    const char* begin = field.data();
    if (*begin == '+')
        ++begin;
    double value = 0.0;
    const auto [end, error] = std::from_chars(begin, field.data() + n, value);
    if (error != std::errc() || end != field.data() + n || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<Triangle> parseRawLine(std::string_view line, double unitFactor)
{
    if (line.find("Object") != std::string_view::npos)
        return std::nullopt;
    std::array<double, 9> values{};
    std::size_t start = 0;
    for (std::size_t field = 0; field < 9; ++field) {
        std::size_t end = line.find(' ', start);
        if (field == 8) {
            if (end != std::string_view::npos)
                return std::nullopt;
            end = line.size();
        } else if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<double> value = parseRawNumber(line.substr(start, end - start));
        if (!value)
            return std::nullopt;
        values[field] = *value * unitFactor;
        start = end + 1;
    }
    Triangle triangle;
    for (std::size_t i = 0; i < 9; ++i) {
        const std::optional<float> value = modelCoordinate(values[i]);
        if (!value)
            return std::nullopt;
        triangle.v[i] = *value;
    }
    return triangle;
}

void ReadRawText(std::string_view text, double unitFactor, TriangleList& triangles, ModelBounds& bounds,
                 std::stop_token stop)
{
    std::size_t position = 0;
    while (position < text.size()) {
        if ((triangles.size() & 0xfff) == 0 && stop.stop_requested())
            return;
        std::size_t end = text.find('\n', position);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(position, end - position);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        position = end + 1;
        if (const std::optional<Triangle> triangle = parseRawLine(line, unitFactor)) {
            triangles.push_back(*triangle);
            bounds.AddToBounds(*triangle);
        }
    }
}

}  // namespace kerfline::model3d
