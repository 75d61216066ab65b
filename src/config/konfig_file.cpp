#include "config/konfig_file.h"

#include "base/atomic_file.h"
#include "config/configuration.h"
#include "config/number_text.h"
#include "base/language.h"
#include "base/switches.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>

namespace kerfline {
namespace {

// No key is longer than this; a longer name cannot match and is not kept whole.
constexpr std::size_t kMaxName = 64;
// Longer values are not kept whole; no sensible value is this long.
constexpr std::size_t kMaxValue = 1024;
// How much of a bad value the message repeats.
constexpr std::size_t kShownValue = 40;

// The maximum of work_power follows PowerOutput, which the file names last: its value waits
// until the whole file is read, or a shaped wire's 10 A would be cut to a straight wire's 4 A.
bool waitsForTheWholeFile(Param p)
{
    return p == Param::work_power;
}

bool isSeparatorCharacter(char c)
{
    return c == ' ' || c == ':' || c == '=';
}

std::string valueText(const Configuration& configuration, const ParameterInfo& info, char decimalSeparator)
{
    switch (info.kind) {
    case ParameterKind::Float:
    case ParameterKind::Length:
        return formatGeneral(configuration.number(info.id), decimalSeparator);
    case ParameterKind::Check:
        return std::string(checkStateName(configuration.check(info.id)));
    case ParameterKind::Choice:
        return std::to_string(configuration.choice(info.id));
    case ParameterKind::Position:
        return std::to_string(configuration.position(info.id));
    case ParameterKind::Radio:
        return configuration.radio(info.id) ? "-1" : "0";
    }
    return {};
}

// The leading run of a number: signs, digits and a decimal separator of either kind.
std::string_view numberRun(std::string_view value)
{
    std::size_t n = 0;
    while (n < value.size() &&
           (value[n] == '+' || value[n] == '-' || value[n] == '.' || value[n] == ',' || (value[n] >= '0' && value[n] <= '9')))
        ++n;
    return value.substr(0, n);
}

// Whether a value cut at kMaxValue still converts as the whole would: a number whose leading
// run ended inside the kept part, or a check state (a text that long names none).
bool takesCutValue(std::string_view name, std::string_view keptValue)
{
    const auto p = parameterByKey(name);
    if (!p)
        return true;
    switch (parameterInfo(*p).kind) {
    case ParameterKind::Float:
    case ParameterKind::Length:
        return numberRun(keptValue).size() < keptValue.size();
    case ParameterKind::Check:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string KonfigText(const Configuration& configuration, char decimalSeparator)
{
    std::string text;
    for (const ParameterInfo& info : parameterTable()) {
        text += info.key;
        text += " := ";
        text += valueText(configuration, info, decimalSeparator);
        text += "\r\n";
    }
    return text;
}

ConfigFileResult SaveKonfig(const Configuration& configuration, const std::string& path, char decimalSeparator)
{
    ConfigFileResult result;
    result.path = path;
    if (!writeFileAtomically(path, KonfigText(configuration, decimalSeparator)))
        result.status = ConfigFileResult::Status::WriteFailed;
    return result;
}

ApplyOutcome applyParameterText(Configuration& configuration, std::string_view name, std::string_view value)
{
    const std::optional<Param> p = parameterByKey(name);
    if (!p)
        return ApplyOutcome::UnknownName;
    switch (parameterInfo(*p).kind) {
    case ParameterKind::Float:
    case ParameterKind::Length: {
        const auto number = parseDecimal(numberRun(value));
        if (!number)
            return ApplyOutcome::BadValue;
        configuration.setNumber(*p, *number);
        return ApplyOutcome::Applied;
    }
    case ParameterKind::Choice:
    case ParameterKind::Position: {
        const auto integer = parseInteger(value);
        if (!integer)
            return ApplyOutcome::BadValue;
        configuration.setRaw(*p, *integer);
        return ApplyOutcome::Applied;
    }
    case ParameterKind::Check:
        configuration.setCheck(*p, value == "cbChecked"  ? CheckState::cbChecked
                                   : value == "cbGrayed" ? CheckState::cbGrayed
                                                         : CheckState::cbUnchecked);
        return ApplyOutcome::Applied;
    case ParameterKind::Radio: {
        bool checked = false;
        if (const auto integer = parseInteger(value))
            checked = *integer != 0;
        else if (equalsIgnoringCase(value, "True"))
            checked = true;
        else if (!equalsIgnoringCase(value, "False"))
            return ApplyOutcome::BadValue;
        configuration.setRadio(*p, checked);
        return ApplyOutcome::Applied;
    }
    }
    return ApplyOutcome::UnknownName;
}

struct KonfigReader::State {
    State(Configuration& c, std::string p) : configuration(c), path(std::move(p)) {}

    // A line kept for the end of the file.
    struct Deferred {
        Param parameter;
        std::string value;
        int line = 0;
    };

    Configuration& configuration;
    std::string path;
    std::string name;
    std::string value;
    bool nameTooLong = false;
    bool valueTooLong = false;
    bool inValue = false;
    bool lineHasText = false;
    bool lastWasCr = false;
    bool finished = false;
    int line = 1;  // the line as an editor counts it: CR LF is one line end
    std::optional<Deferred> deferred;
    // The first bad value in file order; the lines after it are still applied.
    int failedLine = 0;
    std::string failedValue;

    void fail(int atLine, const std::string& text)
    {
        if (failedLine != 0 && failedLine < atLine)
            return;
        failedLine = atLine;
        failedValue = text.substr(0, kShownValue);
        if (text.size() > kShownValue)
            failedValue += "...";
    }

    void endLine()
    {
        if (lineHasText && !name.empty() && !nameTooLong) {
            const std::optional<Param> p = parameterByKey(name);
            if (valueTooLong && !takesCutValue(name, value)) {
                if (p)
                    fail(line, value);
            } else if (p && waitsForTheWholeFile(*p)) {
                deferred = Deferred{*p, value, line};
            } else if (applyParameterText(configuration, name, value) == ApplyOutcome::BadValue) {
                fail(line, value);
            }
        }
        name.clear();
        value.clear();
        nameTooLong = valueTooLong = inValue = lineHasText = false;
    }

    void applyDeferred()
    {
        if (deferred && applyParameterText(configuration, parameterInfo(deferred->parameter).key, deferred->value) ==
                            ApplyOutcome::BadValue)
            fail(deferred->line, deferred->value);
        deferred.reset();
    }
};

KonfigReader::KonfigReader(Configuration& configuration, std::string path)
    : m_state(std::make_unique<State>(configuration, std::move(path)))
{
    configuration.loadingConfig = true;
}

KonfigReader::~KonfigReader()
{
    // however the load ended, it is over
    m_state->configuration.loadingConfig = false;
}

bool KonfigReader::feed(std::string_view text)
{
    State& s = *m_state;
    if (s.finished)
        return false;
    for (const char c : text) {
        if (c == '\n' && s.lastWasCr) {  // the LF of CR LF ends an empty line
            s.lastWasCr = false;
            continue;
        }
        s.lastWasCr = false;
        if (c == '\r' || c == '\n') {
            s.endLine();
            ++s.line;
            s.lastWasCr = c == '\r';
            continue;
        }
        s.lineHasText = true;
        if (!s.inValue) {
            if (isSeparatorCharacter(c))
                s.inValue = true;
            else if (s.name.size() < kMaxName)
                s.name += c;
            else
                s.nameTooLong = true;
        } else if (!isSeparatorCharacter(c)) {
            if (s.value.size() < kMaxValue)
                s.value += c;
            else
                s.valueTooLong = true;
        }
    }
    return true;
}

ConfigFileResult KonfigReader::finish()
{
    State& s = *m_state;
    if (!s.finished) {
        s.endLine();
        s.applyDeferred();
    }
    s.finished = true;
    Configuration& configuration = s.configuration;
    configuration.loadingConfig = false;

    // A bad value spoils only its own line: the load ends as any other does.
    if (!configuration.radio(Param::rbZmiennaPredkosc) && !configuration.radio(Param::rbStalaPredkosc))
        configuration.setRadio(Param::rbZmiennaPredkosc, true);
    configuration.updateConstantLatheSpeed();
    configuration.powerOutputPending = true;

    ConfigFileResult result;
    result.path = s.path;
    if (s.failedLine != 0) {
        result.status = ConfigFileResult::Status::BadValue;
        result.line = s.failedLine;
        result.value = s.failedValue;
    }
    return result;
}

ConfigFileResult applyKonfigText(Configuration& configuration, std::string_view text, const std::string& path)
{
    KonfigReader reader(configuration, path);
    reader.feed(text);
    return reader.finish();
}

ConfigFileResult LoadKonfig(Configuration& configuration, const std::string& path, char decimalSeparator,
                            const tInterfejs& language)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        KonfigReader reader(configuration, path);
        // The path is the long part: it goes into the text, where a caption would cut it short.
        language.ShowMessageBox(language.Text("Configuration", "brakKonfiga") + ":\n" + path, false,
                                language.Text("Configuration", "brakKonfigaTytul"));
        const ConfigFileResult saved = SaveKonfig(configuration, path, decimalSeparator);
        if (!saved.ok())
            return saved;
        return reader.finish();
    }

    ConfigFileResult failed{ConfigFileResult::Status::ReadFailed, path, 0, {}, {}};
    if (ec || status.type() == std::filesystem::file_type::directory)
        return failed;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failed;
    KonfigReader reader(configuration, path);
    std::array<char, 65536> buffer;
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        reader.feed(std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount())));
    }
    if (in.bad())
        return failed;
    return reader.finish();
}

}  // namespace kerfline
