#pragma once

#include "designfiles/design_reader.h"
#include "designfiles/text_lines.h"
#include "geometry/geometry.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kerfline {

class DrawingOutput;

// ASCII DXF drawings: one figure per supported entity of the entities section, in the
// operator's display unit, curves flattened with the curve settings.
class DxfReader final : public DesignReader {
public:
    explicit DxfReader(const CurveSettings& curveSettings) : m_curveSettings(curveSettings) {}

    int open(const std::string& path) override;
    ReadResult nextFigure(tfigura& figure) override;
    bool atEnd() const override { return m_endOfFile; }

private:
    // The outcome of one step of the entity rules.
    enum class Step : std::uint8_t { ok, ended, failed };

    // Line primitives.
    std::string_view ReadDxfLine();
    bool IsGroupCode(std::string_view code, std::string_view line) const;
    bool IsGroupValue(std::string_view text, std::string_view line) const;
    // The same tests on the current line, trimmed once when it was read.
    bool currentIsCode(std::string_view code) const { return IsGroupCode(code, m_trimmedLine); }
    bool currentIsValue(std::string_view text) const { return IsGroupValue(text, m_trimmedLine); }
    // A blank value line leaves the target as it was. A coordinate must also lie within the
    // plotter-unit range.
    Step ReadDxfReal(double& target, bool coordinate = false);
    Step ReadDxfInteger(std::int32_t& target, bool* changed = nullptr);
    Step ReadCoordinates(std::string_view firstCode, std::string_view secondCode);
    // Reads lines until match() holds for the current line; with fromCurrent the current line
    // is looked at first. Colour groups met on the way apply when `colour`. `ended` at the end
    // of the file.
    template <typename Match>
    Step searchLines(Match match, bool colour, bool fromCurrent);
    Step searchCode(std::string_view code, bool colour = false);
    Step applyColour();
    Step valueError(DesignError::Kind kind);

    // Entity rules; each fills the figure given to nextFigure.
    Step readLineEntity();
    Step readCircle();
    Step readEllipse();
    Step readArc();
    Step readSpline();
    Step readPolyline(bool lightweight);
    Step readVertexList(bool closed);
    Step readPlainPolyline(bool lightweight, std::int32_t flags);
    Step curveDone(CurveStatus status);
    CurveSettings settingsForCurve() const;

    CurveSettings m_curveSettings;
    DesignFile m_file;
    TextLines m_lines{m_file.bytes};
    bool m_endOfFile = true;
    std::int32_t m_currentPen = 1;
    // Points the load may deliver in all: curves get at most what is left, so that a small file
    // cannot make the reader allocate without bound.
    std::int64_t m_pointBudget = 0;
    std::int64_t m_pointsDelivered = 0;

    bool m_parity = true;        // flipped by every line: false after a read means a group code
    bool m_inEntities = false;
    std::string_view m_line;     // the current line, valid until the next read
    std::string_view m_trimmedLine;  // the same without blanks at either end
    std::uint64_t m_entityLine = 0;  // line of the entity being read, for messages
    RealPoint m_coordinates;     // the last values read for 10 and 20 (or 11 and 21)
    tfigura* m_figure = nullptr;     // the figure and its output while nextFigure runs
    DrawingOutput* m_out = nullptr;
    std::vector<RealPoint> m_vertices;
    std::vector<double> m_knots;
    std::vector<RealPoint> m_controls;
    std::vector<RealPoint> m_fitPoints;
};

// colourToPen: DXF colour 1 (red) pen 3, 2 (yellow) pen 6, 3 (green) pen 4, any other pen 0.
std::int32_t colourToPen(std::int32_t colour);

}  // namespace kerfline
