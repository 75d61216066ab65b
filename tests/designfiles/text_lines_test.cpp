#include "designfiles/text_lines.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>

namespace kerfline {
namespace {

using testing::TempDir;

struct Line {
    std::string text;
    std::uint64_t number;
    bool exhausted;
};

std::vector<Line> readAll(const std::string& content)
{
    TempDir dir;
    ByteReader file;
    EXPECT_EQ(file.open(dir.write("lines.txt", content)), 0);
    TextLines lines(file);
    std::vector<Line> result;
    for (int guard = 0; guard < 1'000'000; ++guard) {
        const std::string text(lines.read());
        result.push_back({text, lines.lineNumber(), lines.exhausted()});
        if (lines.exhausted())
            break;
    }
    return result;
}

// The rule as stated, one byte at a time: a line ends at CR or LF; a CR or LF that is the first
// byte of a read is the rest of the previous line end.
std::vector<std::string> reference(const std::string& content)
{
    std::vector<std::string> result;
    std::size_t i = 0;
    for (;;) {
        if (i < content.size() && (content[i] == '\r' || content[i] == '\n'))
            ++i;
        std::string text;
        while (i < content.size() && content[i] != '\r' && content[i] != '\n')
            text += content[i++];
        const bool end = i >= content.size();
        ++i;
        result.push_back(text);
        if (end)
            break;
    }
    return result;
}

TEST(TextLines, EndsLinesAtCrOrLfAndSwallowsOneLineEndByte)
{
    const struct {
        std::string content;
        std::vector<std::string> lines;
        std::vector<std::uint64_t> numbers;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b", ""}, {1, 2, 3}},
        {"a\nb\n", {"a", "b", ""}, {1, 2, 3}},
        {"a\rb", {"a", "b"}, {1, 2}},
        // LF only: the empty line disappears, its LF taken as the rest of the line end before.
        {"a\n\nb\n", {"a", "b", ""}, {1, 3, 4}},
        {"a\r\n\r\nb", {"a", "", "b"}, {1, 2, 3}},
        {"\nx", {"x"}, {2}},
        {"", {""}, {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.content));
        const std::vector<Line> lines = readAll(c.content);
        ASSERT_EQ(lines.size(), c.lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text, c.lines[i]) << i;
            EXPECT_EQ(lines[i].number, c.numbers[i]) << i;
            EXPECT_EQ(lines[i].exhausted, i + 1 == lines.size()) << i;
        }
    }
}

// Lines of every length and line-end style, crossing the reader's 64 KiB blocks anywhere.
TEST(TextLines, ReadsLinesAcrossTheReadersBlocks)
{
    std::mt19937 random(3);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> end(0, 3);
    for (int round = 0; round < 4; ++round) {
        std::string content;
        while (content.size() < 300'000) {
            content += std::string(static_cast<std::size_t>(length(random)), static_cast<char>('a' + round));
            const char* ends[] = {"\r\n", "\n", "\r", "\n\n"};
            content += ends[end(random)];
        }
        const std::vector<Line> lines = readAll(content);
        const std::vector<std::string> expected = reference(content);
        ASSERT_EQ(lines.size(), expected.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            ASSERT_EQ(lines[i].text, expected[i]) << "line " << i;
    }
}

TEST(TextLines, KeepsTheStartOfAnOverlongLine)
{
    const std::string longLine(TextLines::kMaxLineLength + 70'000, 'x');
    for (const std::string& content : {longLine + "\nnext\n", "a\n" + longLine + "\nnext"}) {
        const std::vector<Line> lines = readAll(content);
        bool seen = false;
        for (const Line& line : lines) {
            if (line.text.size() == TextLines::kMaxLineLength)
                seen = true;
            EXPECT_LE(line.text.size(), TextLines::kMaxLineLength);
        }
        EXPECT_TRUE(seen);
        EXPECT_EQ(lines[lines.size() - (content.back() == '\n' ? 2 : 1)].text, "next");
    }
}

}  // namespace
}  // namespace kerfline
