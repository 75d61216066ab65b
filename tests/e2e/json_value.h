#pragma once

#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::testing {

// Just enough JSON to read what kerfline-cli prints: objects, arrays, strings, numbers, true,
// false and null. A document that does not parse gives nothing.
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    const JsonValue& operator[](const std::string& name) const
    {
        static const JsonValue missing;
        const auto found = members.find(name);
        return found == members.end() ? missing : found->second;
    }
    const JsonValue& operator[](std::size_t index) const { return items.at(index); }
    bool has(const std::string& name) const { return members.count(name) != 0; }
    long long integer() const { return static_cast<long long>(number); }

    static std::optional<JsonValue> parse(std::string_view document)
    {
        std::size_t at = 0;
        JsonValue value;
        if (!read(document, at, value))
            return std::nullopt;
        skipSpace(document, at);
        if (at != document.size())
            return std::nullopt;
        return value;
    }

private:
    static void skipSpace(std::string_view d, std::size_t& at)
    {
        while (at < d.size() && std::isspace(static_cast<unsigned char>(d[at])))
            ++at;
    }
    static bool literal(std::string_view d, std::size_t& at, std::string_view word)
    {
        if (d.substr(at, word.size()) != word)
            return false;
        at += word.size();
        return true;
    }
    static bool readString(std::string_view d, std::size_t& at, std::string& out)
    {
        if (at >= d.size() || d[at] != '"')
            return false;
        for (++at; at < d.size(); ++at) {
            const char c = d[at];
            if (c == '"') {
                ++at;
                return true;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (++at >= d.size())
                return false;
            switch (d[at]) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u':
                if (at + 4 >= d.size())
                    return false;
                out += static_cast<char>(std::strtol(std::string(d.substr(at + 1, 4)).c_str(), nullptr, 16));
                at += 4;
                break;
            default: out += d[at]; break;
            }
        }
        return false;
    }
    static bool read(std::string_view d, std::size_t& at, JsonValue& value)
    {
        skipSpace(d, at);
        if (at >= d.size())
            return false;
        const char c = d[at];
        if (c == '{') {
            value.kind = Kind::Object;
            ++at;
            skipSpace(d, at);
            if (at < d.size() && d[at] == '}')
                return ++at, true;
            for (;;) {
                std::string name;
                skipSpace(d, at);
                if (!readString(d, at, name))
                    return false;
                skipSpace(d, at);
                if (at >= d.size() || d[at++] != ':')
                    return false;
                if (!read(d, at, value.members[name]))
                    return false;
                skipSpace(d, at);
                if (at < d.size() && d[at] == ',') {
                    ++at;
                    continue;
                }
                return at < d.size() && d[at++] == '}';
            }
        }
        if (c == '[') {
            value.kind = Kind::Array;
            ++at;
            skipSpace(d, at);
            if (at < d.size() && d[at] == ']')
                return ++at, true;
            for (;;) {
                value.items.emplace_back();
                if (!read(d, at, value.items.back()))
                    return false;
                skipSpace(d, at);
                if (at < d.size() && d[at] == ',') {
                    ++at;
                    continue;
                }
                return at < d.size() && d[at++] == ']';
            }
        }
        if (c == '"') {
            value.kind = Kind::String;
            return readString(d, at, value.text);
        }
        if (literal(d, at, "true")) {
            value.kind = Kind::Boolean;
            value.boolean = true;
            return true;
        }
        if (literal(d, at, "false")) {
            value.kind = Kind::Boolean;
            return true;
        }
        if (literal(d, at, "null"))
            return true;
        const std::string rest(d.substr(at, 40));
        char* end = nullptr;
        value.number = std::strtod(rest.c_str(), &end);
        if (end == rest.c_str())
            return false;
        value.kind = Kind::Number;
        at += static_cast<std::size_t>(end - rest.c_str());
        return true;
    }
};

}  // namespace kerfline::testing
