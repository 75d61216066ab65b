// The ".cod" project file: its INI text in Windows-1250, what a save keeps of a file and that it
// replaces the file as a whole.
#include "aids/barcode_project.h"
#include "aids/ini_file.h"
#include "aids/windows_1250.h"
#include "aids/file_bytes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kerfline {
namespace {

using testing::fileBytes;
using testing::TempDir;

TEST(Windows1250, PolishLettersBothWaysAndWhatTheCodePageLacks)
{
    const std::string polish = "Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ";
    const std::string bytes = toWindows1250(polish);
    EXPECT_EQ(bytes.size(), 27u) << "one byte a letter";
    EXPECT_EQ(bytes.substr(0, 6), "Za\xBF\xF3\xB3\xE6");
    EXPECT_EQ(fromWindows1250(bytes), polish);
    EXPECT_EQ(toWindows1250("日本 \xFF x"), "?? ? x") << "characters outside the code page and broken UTF-8";
    EXPECT_EQ(withoutPolishLetters("Łódź, ŻÓŁW"), "Lodz, ZOLW");
}

TEST(IniDocument, ReadsWhatHandsAndOtherProgramsWrite)
{
    const IniDocument ini = IniDocument::parse("; made by hand\r\n"
                                               "[ Configuration ]\n"
                                               "  ConfigFileName =  /home/op/foam.kcc  \r"
                                               "[label]\r\n"
                                               "Line 1=\"  quoted, with blanks \"\r\n"
                                               "line2=a=b\r\n");
    EXPECT_EQ(ini.value("configuration", "configfilename"), "/home/op/foam.kcc");
    EXPECT_EQ(ini.value("Label", "LINE 1"), "  quoted, with blanks ");
    EXPECT_EQ(ini.value("Label", "Line2"), "a=b");
    EXPECT_EQ(ini.value("Label", "Line3"), std::nullopt);
    EXPECT_FALSE(ini.hasSection("Projects"));
}

TEST(IniDocument, ValuesComeBackAsTheyWere)
{
    IniDocument ini;
    const std::vector<std::string> values{"plain", "  blanks around  ", "\"quoted\"", "a=b;c", "", "Łódź"};
    for (std::size_t i = 0; i < values.size(); ++i)
        ini.set("Label", "Key " + std::to_string(i), values[i]);
    ini.set("Label", "Broken", "line\r\nInjected=1");
    const IniDocument again = IniDocument::parse(ini.text());
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.value("Label", "Key " + std::to_string(i)), values[i]) << i;
    EXPECT_EQ(again.value("Label", "Injected"), std::nullopt) << "a line break in a value makes no new key";
}

TEST(BarcodeProjectFile, SavedInWindows1250AndReadBack)
{
    TempDir dir;
    const std::string path = barcodeProjectPath(dir.str(), "5900000000015");
    BarcodeProject project;
    project.configFileName = dir.str() + "pianka.kcc";
    project.designs = {dir.str() + "łódka.plt", dir.str() + "żagiel.dxf"};
    project.labelLines = {"Łódź", "", "  x  ", "4"};
    ASSERT_TRUE(saveBarcodeProject(path, project, true));

    const std::string bytes = fileBytes(path);
    EXPECT_NE(bytes.find("Prj1=" + toWindows1250(dir.str() + "łódka.plt") + "\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("Line1=\xA3\xF3" "d\x9F\r\n"), std::string::npos);

    const auto back = readBarcodeProject(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->configFileName, project.configFileName);
    EXPECT_EQ(back->designs, project.designs);
    EXPECT_EQ(back->labelLines, project.labelLines);
}

TEST(BarcodeProjectFile, DesignsEndAtTheFirstGap)
{
    TempDir dir;
    const std::string path = dir.write("5900000000015.cod", "[Projects]\r\nPrj1=a.plt\r\nPrj2=b.plt\r\nPrj4=d.plt\r\n");
    const auto project = readBarcodeProject(path);
    ASSERT_TRUE(project);
    EXPECT_EQ(project->designs, (std::vector<std::string>{"a.plt", "b.plt"}));
}

TEST(BarcodeProjectFile, SaveReplacesItsSectionsKeepsTheRestAndTheFileIsNeverHalfWritten)
{
    TempDir dir;
    const std::string path = dir.write("5900000000015.cod", "[Projects]\r\nPrj1=old.plt\r\nPrj2=gone.plt\r\n"
                                                            "[Workshop]\r\nShelf=3\r\n");
    // The old file stays whole for whoever has it open: the new one takes its name.
    const int reader = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    BarcodeProject project;
    project.configFileName = "/a.kcc";
    project.designs = {"new.plt"};
    ASSERT_TRUE(saveBarcodeProject(path, project, true));

    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "the file was rewritten in place";
    char old[64] = {};
    EXPECT_EQ(::pread(reader, old, sizeof old - 1, 0), static_cast<ssize_t>(before.st_size));
    EXPECT_EQ(std::string(old).substr(0, 10), "[Projects]");
    ::close(reader);

    const auto ini = readIniFile(path);
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->value("Projects", "Prj1"), "new.plt");
    EXPECT_EQ(ini->value("Projects", "Prj2"), std::nullopt);
    EXPECT_EQ(ini->value("Workshop", "Shelf"), "3");
    EXPECT_EQ(ini->value("Configuration", "ConfigFileName"), "/a.kcc");
    EXPECT_EQ(ini->value("Label", "Line4"), "");

    // A save that cannot write says so.
    EXPECT_FALSE(saveBarcodeProject(dir.str() + "missing/5900000000015.cod", project, true));
}

}  // namespace
}  // namespace kerfline
