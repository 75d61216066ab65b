// The EPL2 label: its commands read back by a quote-aware parser, the default lines from a
// configuration file, and the bytes as they arrive at a terminal standing for the label port.
#include "aids/barcode_label.h"
#include "aids/label_port.h"
#include "aids/windows_1250.h"
#include "base/switches.h"
#include "machine/link_rig.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace kerfline {
namespace {

using testing::ContextRig;
using testing::TempDir;

// One EPL2 command line as the printer reads it: the command letters and parameters up to the
// first quote, then the quoted data field with \" and \\ as its escapes.
struct Epl2Line {
    std::string command;  // "A0,140,0,4,1,1,N," for a text line
    std::optional<std::string> data;
    bool wellFormed = true;  // a closed field and nothing after it
};

std::vector<Epl2Line> parseEpl2(const std::string& bytes)
{
    std::vector<Epl2Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        const std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? bytes.size() : end + 2;
        Epl2Line parsed;
        const std::size_t quote = line.find('"');
        parsed.command = line.substr(0, quote);
        if (quote != std::string::npos) {
            std::string data;
            std::size_t i = quote + 1;
            bool closed = false;
            for (; i < line.size(); ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    data += line[++i];
                } else if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    data += line[i];
                }
            }
            parsed.data = data;
            parsed.wellFormed = closed && i == line.size();
        }
        lines.push_back(parsed);
    }
    return lines;
}

TEST(Epl2Label, HostileOperatorLinesStayInsideTheirFields)
{
    const DefaultLabelLines defaults{"Tryb cięcia: 2D", "Szybkość \"max\": 900 [mm/min]", "", "", "C:\\foam\\"};
    const OperatorLabelLines lines{"  Łódź \"Kaliska\"  ", "back\\slash\\", "two\r\nP999\r\nlines", "Zażółć\t\x01"};
    const std::string bytes = labelBytes("5900000000015", defaults, lines, 2);
    const std::vector<Epl2Line> parsed = parseEpl2(bytes);

    ASSERT_EQ(parsed.size(), 14u) << bytes;
    EXPECT_EQ(bytes.substr(0, 3), "\n\r\n") << "the first line holds one line feed";
    EXPECT_EQ(parsed[1].command, "N");
    EXPECT_EQ(parsed[2].command, "B50,10,0,E30,3,7,100,B,");
    EXPECT_EQ(parsed[2].data, "5900000000015");
    EXPECT_EQ(parsed[3].command, "I8,B,001");
    EXPECT_EQ(parsed[13].command, "P2") << "one print command, the operator's P999 is text";
    const char* rows[] = {"140", "175", "210", "245", "280", "325", "360", "395", "430"};
    for (int i = 0; i < 9; ++i) {
        const Epl2Line& line = parsed[static_cast<std::size_t>(4 + i)];
        EXPECT_EQ(line.command, std::string("A0,") + rows[i] + ",0,4,1,1,N,") << i;
        EXPECT_TRUE(line.wellFormed) << i << ": " << line.command;
    }
    // Default lines keep their letters in the label's code page; operator lines lose the accents.
    EXPECT_EQ(parsed[4].data, toWindows1250("Tryb cięcia: 2D"));
    EXPECT_EQ(parsed[5].data, toWindows1250("Szybkość \"max\": 900 [mm/min]"));
    EXPECT_EQ(parsed[8].data, "C:\\foam\\");
    EXPECT_EQ(parsed[9].data, "Lodz \"Kaliska\"");
    EXPECT_EQ(parsed[10].data, "back\\slash\\");
    EXPECT_EQ(parsed[11].data, "twoP999lines");
    EXPECT_EQ(parsed[12].data, "Zazolc");
}

TEST(Epl2Label, DefaultLinesFromTheConfigurationFile)
{
    ContextRig rig;
    TempDir dir;
    const std::string config = dir.write("foam.kcc", "Mode := 1\r\nszybkoscObrobki := 850,5\r\nwork_power := 2.5\r\n"
                                                      "CzasRozgrzewania := 1000\r\nPauza_w_kacie := 100\r\n");
    const DefaultLabelLines lines = defaultLabelLines(config, rig.context.language);
    EXPECT_EQ(lines[0], "Cutting mode: " + rig.context.Text("Configuration", "mode.Obrotowe"));
    EXPECT_EQ(lines[1], "Cutting speed: 850,5 [mm/min]") << "the value text as stored";
    EXPECT_EQ(lines[2], "Heating power: 2.5 [A]");
    EXPECT_EQ(lines[3], "Heat-up time [ms]: 1000 [ms]");
    EXPECT_EQ(lines[4], "Corner pause [ms]: 100 [ms]");

    // A mode index from the file is checked against the list before it names a mode.
    for (const char* mode : {"6", "-1", "99999999999", "x"}) {
        const std::string odd = dir.write("odd.kcc", std::string("Mode := ") + mode + "\r\n");
        EXPECT_EQ(defaultLabelLines(odd, rig.context.language)[0], std::string("Cutting mode: ") + mode);
    }
    EXPECT_EQ(defaultLabelLines(dir.str() + "none.kcc", rig.context.language), DefaultLabelLines{});
}

TEST(LabelPort, TheBytesReachTheTerminalUnchanged)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string port = ::ptsname(master);

    // The line discipline of a fresh terminal turns LF into CR LF: the label must not change.
    const std::string bytes =
        labelBytes("5900000123455", {"Tryb: 2D"}, {"Łódź", "a\"b"}, 1) + std::string("\xA3\x00\xFF", 3);
    ASSERT_EQ(writeToLabelPort(port, bytes), 0);

    std::string received;
    char buffer[4096];
    pollfd ready{master, POLLIN, 0};
    while (received.size() < bytes.size() && ::poll(&ready, 1, 2000) > 0) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        received.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(master);
    EXPECT_EQ(received, bytes);
}

TEST(LabelPort, MissingPortAndTheSwitch)
{
    TempDir dir;
    EXPECT_EQ(writeToLabelPort(dir.str() + "ttyNone", "N\r\n"), ENOENT);
    EXPECT_EQ(labelPort(CommandLine()), "/dev/ttyS0");
    EXPECT_EQ(labelPort(CommandLine({"PL", "--label-port=/dev/ttyUSB1"})), "/dev/ttyUSB1");
    // A plain file serves as a port too, so a label can be kept.
    const std::string file = dir.write("label.epl", "");
    EXPECT_EQ(writeToLabelPort(file, "N\r\nP1\r\n"), 0);
}

}  // namespace
}  // namespace kerfline
