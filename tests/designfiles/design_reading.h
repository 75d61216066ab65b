#pragma once

#include "designfiles/thpgl.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace kerfline::testing {

// What a load delivers: the valid figures in order, or the error that ended it.
struct DesignOutcome {
    int openResult = 0;
    std::vector<tfigura> figures;
    std::optional<DesignError> error;
};

// Reads a design the way the loader does: figures until the end-of-file flag, invalid ones
// dropped, stopping at an error.
inline DesignOutcome readDesignFile(const std::string& path, std::int32_t type, const CurveSettings& settings = {})
{
    DesignOutcome outcome;
    Thpgl reader;
    reader.setCurveSettings(settings);
    outcome.openResult = reader.OpenDesign(path, type);
    // A bound so that a reader that never reaches the end fails the test instead of hanging it.
    for (int calls = 0; outcome.openResult == 0 && !reader.endOfFile(); ++calls) {
        if (calls > 100000) {
            ADD_FAILURE() << "the reader does not reach the end of " << path;
            break;
        }
        tfigura figure;
        const ReadResult result = reader.ReadFigure(figure);
        if (!result) {
            outcome.error = result.error;
            EXPECT_TRUE(reader.endOfFile());
            EXPECT_EQ(figure.valid, 0);
            break;
        }
        EXPECT_EQ(figure.valid != 0, !figure.points.empty());
        if (figure.valid)
            outcome.figures.push_back(std::move(figure));
    }
    EXPECT_EQ(reader.angleValue(), 0.0);
    reader.CloseDesign();
    return outcome;
}

inline DesignOutcome readDesignText(const std::string& content, std::int32_t type, const CurveSettings& settings = {})
{
    TempDir dir;
    return readDesignFile(dir.write(type == kDesignDxf ? "design.dxf" : "design.eps", content), type, settings);
}

// The lines of a file joined with the given line end, which also ends the last line.
inline std::string joinLines(std::initializer_list<std::string> lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

inline std::string describe(const std::vector<Point>& points)
{
    std::string text;
    for (const Point& p : points)
        text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return text;
}

}  // namespace kerfline::testing
