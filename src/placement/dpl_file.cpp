#include "placement/dpl_file.h"

#include "base/atomic_file.h"
#include "project/tmdichild.h"
#include "base/app_context.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kerfline {
namespace {

constexpr const char* kSection = "Duplication_parameters";
constexpr const char* kEndOfLine = "\r\n";

const std::array<const char*, 6> kKeys = {
    "Number of elements in a row",
    "Number of rows",
    "Space between the elements",
    "Space between the rows",
    "Space between the elements and the vertical connecting line",
    "Space between the elements and the horizontal connecting line",
};

std::array<double*, 6> fieldsOf(DuplicationParameters& p)
{
    return {&p.elementsInRow, &p.rows, &p.elementOffset, &p.rowOffset, &p.verticalLineDistance,
            &p.horizontalLineDistance};
}

std::string trimmed(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

bool equalNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "[name]" → name; nothing for any other line.
std::optional<std::string> sectionName(const std::string& line)
{
    const std::string t = trimmed(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return std::nullopt;
    return t.substr(1, t.size() - 2);
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A number as the file holds it: a point or a comma as the separator.
std::optional<double> numberIn(std::string text)
{
    text = trimmed(text);
    for (char& c : text)
        if (c == ',')
            c = '.';
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The shortest text that reads back as the same number.
std::string numberText(double value, bool integer)
{
    if (integer)
        return std::to_string(static_cast<long long>(std::trunc(value)));
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

}  // namespace

std::string duplicationFilePath(const std::string& patternCaption)
{
    return std::filesystem::path(patternCaption).replace_extension(".dpl").string();
}

std::optional<DuplicationParameters> readDuplicationFile(const std::string& path, const DuplicationParameters& defaults)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    DuplicationParameters parameters = defaults;
    const auto fields = fieldsOf(parameters);
    bool inSection = false;
    bool found = false;
    for (const std::string& line : linesOf(text)) {
        if (const auto name = sectionName(line)) {
            inSection = equalNoCase(*name, kSection);
            found = found || inSection;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        const std::string key = trimmed(line.substr(0, equals));
        for (std::size_t k = 0; k < kKeys.size(); ++k) {
            if (!equalNoCase(key, kKeys[k]))
                continue;
            const auto value = numberIn(line.substr(equals + 1));
            // The counts are integers in the file; a number that is not one keeps the default.
            if (value && (k >= 2 || std::trunc(*value) == *value))
                *fields[k] = *value;
        }
    }
    if (!found)
        return std::nullopt;
    return parameters;
}

std::string duplicationFileText(const std::string& oldText, const DuplicationParameters& parameters)
{
    std::string text;
    bool inSection = false;
    for (const std::string& line : linesOf(oldText)) {
        if (const auto name = sectionName(line))
            inSection = equalNoCase(*name, kSection);
        if (!inSection)
            text += line + kEndOfLine;
    }
    DuplicationParameters p = parameters;
    const auto fields = fieldsOf(p);
    text += std::string("[") + kSection + "]" + kEndOfLine;
    for (std::size_t k = 0; k < kKeys.size(); ++k)
        text += std::string(kKeys[k]) + "=" + numberText(*fields[k], k < 2) + kEndOfLine;
    return text;
}

bool writeDuplicationFile(const std::string& path, const DuplicationParameters& parameters)
{
    std::string oldText;
    if (std::ifstream in(path, std::ios::binary); in)
        oldText.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return writeFileAtomically(path, duplicationFileText(oldText, parameters));
}

}  // namespace kerfline

namespace kerfline {

void executeDuplication(const TMDIChild& pattern, const std::string& parameterFile,
                        const DuplicationParameters& parameters, TMDIChild& result)
{
    if (!writeDuplicationFile(parameterFile, parameters)) {
        const AppContext& context = pattern.context();
        context.language.ShowMessageBox(formatText(context.Text("Configuration", "bladZapisuPliku"), {parameterFile}),
                                        true);
    }
    result.fileType = pattern.fileType;
    duplicate(pattern, parameters, result);
}

}  // namespace kerfline
