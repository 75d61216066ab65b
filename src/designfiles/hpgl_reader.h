#pragma once

#include "designfiles/design_reader.h"
#include "geometry/geometry.h"

#include <array>
#include <cstdint>

namespace kerfline {

// HPGL plot files: tokens, instructions and one figure per stroke of the pen. Coordinates are
// kept as the file gives them: one HPGL unit is one plotter unit.
class HpglReader final : public DesignReader {
public:
    static constexpr int kPenCount = 257;  // pens 0 to 256

    int open(const std::string& path) override;
    ReadResult nextFigure(tfigura& figure) override;
    bool atEnd() const override { return m_endOfFile; }
    double angleValue() const override { return m_penWidths[1]; }

private:
    // Longest number token kept; a longer one cannot be converted and is refused.
    static constexpr std::size_t kMaxTokenLength = 256;

    enum class TokenKind : std::uint8_t { None, Mnemonic, Number };

    void readToken();
    bool parseInstruction();  // false on a conversion error, kept in m_file.fault
    void actOnInstruction(tfigura& figure);
    void drawTo(tfigura& figure);
    bool tokenError(DesignError::Kind kind);
    double penWidth(std::int32_t pen) const;

    DesignFile m_file;
    bool m_endOfFile = true;
    bool m_figureEnded = false;
    std::int32_t m_currentPen = 0;
    std::array<double, kPenCount> m_penWidths{};

    int m_current = ByteReader::kEnd;  // last byte read, not yet part of a token; kEnd at the end

    TokenKind m_tokenKind = TokenKind::None;
    std::array<char, kMaxTokenLength> m_tokenText{};
    std::size_t m_tokenLength = 0;     // may exceed kMaxTokenLength; only the start is kept
    std::uint64_t m_tokenOffset = 0;
    bool m_tokenPlain = false;         // a sign and up to nine digits, whose value is m_tokenValue
    std::int32_t m_tokenValue = 0;

    std::uint16_t m_mnemonic = 0;      // up to two upper-case letters, first in the high byte
    std::array<double, 2> m_parameters{};
    int m_parameterCount = 0;
    bool m_pending = false;            // an instruction was parsed and not yet acted on

    Point m_position;
    Point m_previousPosition;
    Point m_lastPenPosition;
    Point m_relativeSum;
    bool m_penDown = false;
    bool m_relativeMode = false;
};

}  // namespace kerfline
