#pragma once

#include "designfiles/byte_reader.h"
#include "designfiles/design_error.h"
#include "designfiles/design_type.h"
#include "geometry/figure.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kerfline {

// OpenDesign's results besides 0 and the system's error codes.
inline constexpr int kOpenWrongKind = -2;  // an EPS file that does not start with "%!PS"
inline constexpr int kOpenFileInUse = 32;  // another process holds the file open

// The design importer: turns a design file into figures, one per ReadFigure call. One object
// serves one load. Order of use: OpenDesign; ReadFigure while !endOfFile(); angleValue();
// CloseDesign.
//
// Coordinates are kept as the file gives them: one HPGL unit is one plotter unit.
class Thpgl {
public:
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

    int openHpgl();
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
};

}  // namespace kerfline
