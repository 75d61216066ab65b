#include "config/global_settings.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

using testing::TempDir;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The default record laid out byte by byte, independently of the encoder.
std::string defaultRecord(const std::string& configPath)
{
    std::string r(864, '\0');
    r[320] = 1;  // reserved int32 1
    r[324] = 1;  // saveFilterIndex
    r[328] = 1;  // reserved byte
    for (std::size_t i = 0; i < configPath.size(); ++i)
        r[334 + 2 * i] = configPath[i];  // ASCII path as UTF-16LE
    r[844] = 1;  // openFilterIndex
    r[854] = '\xF0';  // reserved float64 1.0
    r[855] = '\x3F';
    return r;
}

TEST(GlobalSettings, AShortFileIsReplacedByTheDefaultRecord)
{
    TempDir data;
    std::filesystem::copy_file(std::string(KERFLINE_TEST_DATA_DIR) + "config/short_record.gcf",
                               data.path() / "Kerfline.gcf");
    ASSERT_EQ(std::filesystem::file_size(data.path() / "Kerfline.gcf"), 863u);

    GlobalSettings settings;
    settings.lastOpenDir = "/stale";
    ASSERT_TRUE(LoadGlobalSettings(settings, data.str()).ok());
    EXPECT_EQ(settings, defaultGlobalSettings(data.str()));
    EXPECT_EQ(readFile(data.str() + "Kerfline.gcf"), defaultRecord(data.str() + "Kerfline.kcc"));
}

TEST(GlobalSettings, AMissingFileIsCreatedAndAWholeRecordRead)
{
    TempDir data;
    GlobalSettings settings;
    ASSERT_TRUE(LoadGlobalSettings(settings, data.str()).ok());
    EXPECT_EQ(settings.configPath, data.str() + "Kerfline.kcc");
    EXPECT_EQ(std::filesystem::file_size(data.path() / "Kerfline.gcf"), 864u);

    settings.lastOpenDir = "/home/op/projekty łuków";
    settings.lastSaveDir = "/mnt/out";
    settings.saveFilterIndex = 3;
    settings.openFilterIndex = -2;
    ASSERT_TRUE(SaveGlobalSettings(settings, data.str()).ok());
    // a longer file: one record is read, the rest ignored
    std::ofstream(data.path() / "Kerfline.gcf", std::ios::app | std::ios::binary) << "trailing";
    GlobalSettings read;
    ASSERT_TRUE(LoadGlobalSettings(read, data.str()).ok());
    EXPECT_EQ(read, settings);
}

TEST(GlobalSettings, StringsAreCutToTheirFields)
{
    GlobalSettings settings;
    settings.configPath = "/" + std::string(299, 'c');
    settings.lastOpenDir = std::string(78, 'a') + "\xF0\x9F\x98\x80";  // a surrogate pair at units 79..80
    settings.lastSaveDir = std::string(100, 's');
    const GlobalSettingsRecord record = encodeGlobalSettings(settings);
    const GlobalSettings read = decodeGlobalSettings(record);
    EXPECT_EQ(read.configPath, settings.configPath.substr(0, 254));
    EXPECT_EQ(read.lastOpenDir, std::string(78, 'a'));  // the pair does not fit: dropped whole
    EXPECT_EQ(read.lastSaveDir, std::string(79, 's'));
    // the fields end before the next one starts
    EXPECT_EQ(record[320], 1);
    EXPECT_EQ(record[844], 1);
}

TEST(GlobalSettings, AnyRecordDecodes)
{
    GlobalSettingsRecord record;
    record.fill(0xD8);  // no zero unit anywhere, and every unit an unpaired surrogate
    const GlobalSettings read = decodeGlobalSettings(record);
    EXPECT_EQ(read.saveFilterIndex, static_cast<std::int32_t>(0xD8D8D8D8));
    std::string replacements;
    for (int i = 0; i < 80; ++i)
        replacements += "\xEF\xBF\xBD";
    EXPECT_EQ(read.lastOpenDir, replacements);
    EXPECT_EQ(read.configPath.size(), 255u * 3);
}

}  // namespace
}  // namespace kerfline
