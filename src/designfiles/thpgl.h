#pragma once

#include "designfiles/byte_reader.h"
#include "designfiles/design_error.h"
#include "designfiles/design_type.h"
#include "designfiles/text_lines.h"
#include "geometry/curve_flattening.h"
#include "geometry/figure.h"
#include "geometry/geometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

class DrawingOutput;

// OpenDesign's results besides 0 and the system's error codes.
inline constexpr int kOpenWrongKind = -2;  // an EPS file that does not start with "%!PS"
inline constexpr int kOpenFileInUse = 32;  // another process holds the file open

// The design importer: turns a design file into figures, one per ReadFigure call. One object
// serves one load. Order of use: OpenDesign; ReadFigure while !endOfFile(); angleValue();
// CloseDesign.
//
// Coordinates of HPGL plots are kept as the file gives them: one HPGL unit is one plotter unit.
// DXF drawings are in the operator's display unit and EPS files in PostScript points; both are
// converted to plotter units, their curves flattened with the curve settings.
class Thpgl {
public:
    Thpgl() = default;
    Thpgl(const Thpgl&) = delete;
    Thpgl& operator=(const Thpgl&) = delete;

    // The density of DXF curves and the display unit (CurveSettings::mmPerDrawingUnit) the
    // configuration gives; set before OpenDesign. The defaults are millimetres and the coarsest
    // curve step.
    void setCurveSettings(const CurveSettings& settings) { m_curveSettings = settings; }
    const CurveSettings& curveSettings() const { return m_curveSettings; }

    // 0 on success, otherwise the system's error code (errno) and no file is held. A fileType
    // the importer does not read opens nothing, returns 0 and reads as an empty design.
    int OpenDesign(const std::string& path, std::int32_t fileType);

    // Fills the empty figure with the next figure of the file. A figure with `valid` 0 holds
    // nothing and is to be discarded. A conversion or read error ends the load: the result
    // carries it, the figure is invalid and endOfFile() is true from then on.
    ReadResult ReadFigure(tfigura& figure);

    void CloseDesign();

    // True once every figure of the file has been delivered (or the load failed).
    bool endOfFile() const { return m_endOfFile; }
    // The width given to pen 1: the design's way of giving the project its rotation angle.
    double angleValue() const { return m_penWidths[1]; }
    std::int32_t fileType() const { return m_fileType; }

    static constexpr int kPenCount = 257;  // pens 0 to 256

private:
    // Longest number token kept; a longer one cannot be converted and is refused.
    static constexpr std::size_t kMaxTokenLength = 256;

    enum class TokenKind : std::uint8_t { None, Mnemonic, Number };

    // Reader state of the HPGL branch (hpgl_reader.cpp).
    struct Hpgl {
        int current = ByteReader::kEnd;  // last byte read, not yet part of a token
        bool inputEnded = false;         // the byte reader has reached the end of the file

        TokenKind tokenKind = TokenKind::None;
        std::array<char, kMaxTokenLength> tokenText{};
        std::size_t tokenLength = 0;     // may exceed kMaxTokenLength; only the start is kept
        std::uint64_t tokenOffset = 0;
        bool tokenPlain = false;         // a sign and up to nine digits, whose value is tokenValue
        std::int32_t tokenValue = 0;

        std::uint16_t mnemonic = 0;      // up to two upper-case letters, first in the high byte
        std::array<double, 2> parameters{};
        int parameterCount = 0;
        bool pending = false;            // an instruction was parsed and not yet acted on

        Point position;
        Point previousPosition;
        Point lastPenPosition;
        Point relativeSum;
        bool penDown = false;
        bool relativeMode = false;
    };

    // Reader state of the DXF branch (dxf_reader.cpp).
    struct Dxf {
        bool parity = true;        // flipped by every line: false after a read means a group code
        bool inEntities = false;
        std::string_view line;     // the current line, valid until the next read
        std::string_view trimmedLine;  // the same without blanks at either end
        std::uint64_t entityLine = 0;  // line of the entity being read, for messages
        RealPoint coordinates;     // the last values read for 10 and 20 (or 11 and 21)
        tfigura* figure = nullptr;     // the figure and its outputs while ReadFigure runs
        DrawingOutput* out = nullptr;
        std::vector<RealPoint> vertices;
        std::vector<double> knots;
        std::vector<RealPoint> controls;
        std::vector<RealPoint> fitPoints;
    };

    // Reader state of the EPS branch (eps_reader.cpp).
    struct Eps {
        bool started = false;       // "%%EndSetup" was met
        std::string mnemonic;       // at most two characters
        std::array<double, 16> parameters{};
        int parameterCount = 0;
        bool unreadable = false;    // a parameter token is no number at all
        bool unusable = false;      // a parameter token is a number beyond any range
        std::string unusableToken;
        std::int64_t simplifyWork = 0;  // distance evaluations left for path simplification
    };

    // The outcome of one step of the DXF entity rules.
    enum class Step : std::uint8_t { ok, ended, failed };

    int openHpgl();
    int openDxf();
    int openEps();
    ReadResult readDxfFigure(tfigura& figure);
    ReadResult readEpsFigure(tfigura& figure);

    // DXF line primitives.
    std::string_view ReadDxfLine();
    bool IsGroupCode(std::string_view code, std::string_view line) const;
    bool IsGroupValue(std::string_view text, std::string_view line) const;
    // The same tests on the current line, trimmed once when it was read.
    bool currentIsCode(std::string_view code) const { return IsGroupCode(code, m_dxf.trimmedLine); }
    bool currentIsValue(std::string_view text) const { return IsGroupValue(text, m_dxf.trimmedLine); }
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

    // DXF entity rules; each fills the figure given to ReadFigure.
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

    // EPS lines.
    void ParseEpsLine(std::string_view line);
    bool epsPoint(DrawingOutput& out);
    bool epsCurve(tfigura& figure, DrawingOutput& out);

    bool lineError(DesignError::Kind kind, std::string_view token, std::uint64_t line);
    ReadResult readFailure();

    ReadResult readHpglFigure(tfigura& figure);
    void readToken();
    bool parseInstruction();  // false on a conversion error, kept in m_failure
    void actOnInstruction(tfigura& figure);
    void drawTo(tfigura& figure);
    bool tokenError(DesignError::Kind kind);
    double penWidth(std::int32_t pen) const;

    // Shared by every format.
    std::int32_t m_fileType = kDesignUnknown;
    std::string m_path;
    ByteReader m_file;
    bool m_endOfFile = true;
    bool m_figureEnded = false;
    std::int32_t m_currentPen = 0;
    std::array<double, kPenCount> m_penWidths{};
    std::optional<DesignError> m_failure;  // the error that ended the load, repeated on later calls

    Hpgl m_hpgl;

    // Shared by the DXF and EPS branches.
    CurveSettings m_curveSettings;
    TextLines m_lines{m_file};
    // Points a load may deliver in all: curves get at most what is left, so that a small file
    // cannot make the reader allocate without bound.
    std::int64_t m_pointBudget = 0;
    std::int64_t m_pointsDelivered = 0;
    Dxf m_dxf;
    Eps m_eps;
};

// cmykToPen: the stroke colour line of an EPS path to a pen, as DXF colours map to pens: red
// "0 1 1 0 K" pen 3 (back arm), green "1 0 1 0 K" pen 4 (front arm), yellow "0 0 1 0 K" pen 6
// (both), any other colour pen 0.
std::int32_t cmykToPen(std::string_view line);
// colourToPen: DXF colour 1 (red) pen 3, 2 (yellow) pen 6, 3 (green) pen 4, any other pen 0.
std::int32_t colourToPen(std::int32_t colour);

}  // namespace kerfline
