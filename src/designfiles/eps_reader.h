#pragma once

#include "designfiles/design_reader.h"
#include "designfiles/text_lines.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kerfline {

class DrawingOutput;

// EPS and Illustrator files in the line-oriented path syntax: one figure per painted path, in
// PostScript points.
class EpsReader final : public DesignReader {
public:
    int open(const std::string& path) override;
    ReadResult nextFigure(tfigura& figure) override;
    bool atEnd() const override { return m_endOfFile; }

private:
    void ParseEpsLine(std::string_view line);
    bool epsPoint(DrawingOutput& out);
    bool epsCurve(tfigura& figure, DrawingOutput& out);

    DesignFile m_file;
    TextLines m_lines{m_file.bytes};
    bool m_endOfFile = true;
    std::int32_t m_currentPen = 1;

    bool m_started = false;       // "%%EndSetup" was met
    std::string m_mnemonic;       // at most two characters
    std::array<double, 16> m_parameters{};
    int m_parameterCount = 0;
    bool m_unreadable = false;    // a parameter token is no number at all
    bool m_unusable = false;      // a parameter token is a number beyond any range
    std::string m_unusableToken;
    std::int64_t m_simplifyWork = 0;  // distance evaluations left for path simplification
};

// cmykToPen: the stroke colour line of an EPS path to a pen, as DXF colours map to pens: red
// "0 1 1 0 K" pen 3 (back arm), green "1 0 1 0 K" pen 4 (front arm), yellow "0 0 1 0 K" pen 6
// (both), any other colour pen 0.
std::int32_t cmykToPen(std::string_view line);

}  // namespace kerfline
