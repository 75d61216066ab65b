#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::cli {

// A small streaming JSON writer: commas and nesting are tracked, strings escaped, numbers
// written so that they read back to the same double.
class JsonWriter {
public:
    JsonWriter& beginObject() { value(); m_out += '{'; m_first.push_back(true); return *this; }
    JsonWriter& endObject() { m_out += '}'; m_first.pop_back(); return *this; }
    JsonWriter& beginArray() { value(); m_out += '['; m_first.push_back(true); return *this; }
    JsonWriter& endArray() { m_out += ']'; m_first.pop_back(); return *this; }

    // The name of the next member of the current object.
    JsonWriter& key(std::string_view name)
    {
        separate();
        appendString(name);
        m_out += ':';
        m_afterKey = true;
        return *this;
    }

    JsonWriter& string(std::string_view text) { value(); appendString(text); return *this; }
    JsonWriter& boolean(bool b) { value(); m_out += b ? "true" : "false"; return *this; }
    JsonWriter& null() { value(); m_out += "null"; return *this; }
    JsonWriter& integer(std::int64_t n) { value(); m_out += std::to_string(n); return *this; }
    JsonWriter& number(double d)
    {
        value();
        if (!std::isfinite(d)) {
            m_out += "null";
            return *this;
        }
        if (d == std::floor(d) && std::fabs(d) < 1e15) {
            m_out += std::to_string(static_cast<std::int64_t>(d));
            return *this;
        }
        // The shortest text that reads back to the same double: 0.8, not 0.80000000000000004.
        char buffer[32];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, d);
        m_out.append(buffer, written.ptr);
        return *this;
    }

    const std::string& str() const { return m_out; }
    // Writes the document and a line end to stdout.
    void print() const { std::fwrite(m_out.data(), 1, m_out.size(), stdout); std::fputc('\n', stdout); }

private:
    void separate()
    {
        if (!m_first.empty()) {
            if (!m_first.back())
                m_out += ',';
            m_first.back() = false;
        }
    }
    void value()
    {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        separate();
    }
    void appendString(std::string_view text)
    {
        m_out += '"';
        for (const char c : text) {
            switch (c) {
            case '"': m_out += "\\\""; break;
            case '\\': m_out += "\\\\"; break;
            case '\n': m_out += "\\n"; break;
            case '\r': m_out += "\\r"; break;
            case '\t': m_out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                    m_out += buffer;
                } else {
                    m_out += c;
                }
            }
        }
        m_out += '"';
    }

    std::string m_out;
    std::vector<bool> m_first;
    bool m_afterKey = false;
};

}  // namespace kerfline::cli
