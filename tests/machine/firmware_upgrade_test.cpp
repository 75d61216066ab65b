// The firmware upgrade: image choice, enable rule, downgrade question, a whole upgrade run
// against the virtual cutter and the verify that finds a wrong word.
#include "machine/firmware_upgrade.h"
#include "link_rig.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kerfline::machine {
namespace {

using testing::ContextRig;
using testing::CutterRig;
using testing::FakePlatform;
using testing::TempDir;

// A firmware image of the controller's layout: version words, then 65 537 program words.
std::vector<std::uint16_t> makeImage(const TempDir& dir, const std::string& relative, std::uint16_t major,
                                     std::uint16_t minor, std::size_t bytes = kFirmwareFileBytes)
{
    std::vector<std::uint16_t> words{major, minor};
    for (std::size_t i = 0; i < kFirmwareWords; ++i)
        words.push_back(static_cast<std::uint16_t>((i * 7919u + 13u) & 0xFFFF));
    std::string data;
    for (const std::uint16_t w : words) {
        data += static_cast<char>(w & 0xFF);
        data += static_cast<char>(w >> 8);
    }
    data.resize(bytes);
    const auto path = dir.path() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
    return words;
}

TEST(FirmwareImage, FileByFamilyAndVersion)
{
    EXPECT_EQ(firmwareImagePath("/p/", "Qd", 1), "/p/ROM/Qd/Kerfline81.rom");
    EXPECT_EQ(firmwareImagePath("/p/", "Qd", 2), "/p/ROM/Qd/Kerfline162.rom");
    EXPECT_EQ(firmwareImagePath("/p/", "KK", 0), "/p/ROM/Qd/Kerfline81.rom");
    EXPECT_EQ(firmwareImagePath("/p/", "Pr", 1), "/p/ROM/Pr/Kerfline.rom");
    EXPECT_EQ(firmwareImagePath("/p/", "Pr", 4), "/p/ROM/Pr/Kerfline.rom");
}

TEST(FirmwareUpgradeRule, EnabledVersions)
{
    struct Case {
        int major, minor;
        bool allowed;
    };
    for (const Case c : {Case{1, 0, false}, Case{1, 1, false}, Case{1, 2, true}, Case{1, 10, true},
                         Case{10, 1, false}, Case{9, 9, true}, Case{0, 5, false}, Case{4, 0, false}}) {
        EXPECT_EQ(upgradeAllowed(c.major, c.minor), c.allowed) << c.major << "." << c.minor;
    }
    EXPECT_EQ(firmwareVersionNumber(1, 10), 110);
    EXPECT_EQ(firmwareVersionNumber(2, 0), 20);
}

TEST(FirmwareUpgrade, WholeUpgradeOnTheVirtualCutter)
{
    TempDir dir;
    CutterRig rig;
    rig.context.programDirectory = dir.str();
    rig.protocol->ReadMachineInfo();
    const auto image = makeImage(dir, "ROM/Qd/Kerfline162.rom", 4, 3);

    FirmwareUpgrade upgrade(*rig.protocol, *rig.link);
    upgrade.activate();
    EXPECT_EQ(upgrade.controllerVersionText, "4.2");
    EXPECT_EQ(upgrade.imageVersionText, "4.3");
    ASSERT_TRUE(upgrade.upgradeEnabled);

    const std::int64_t start = rig.clock.nowMs();
    ASSERT_TRUE(upgrade.upgrade());
    EXPECT_GE(rig.clock.nowMs() - start, 15000);  // the memory was not blank: it was erased
    EXPECT_EQ(upgrade.operationsTicked, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(upgrade.verifyText, rig.context.Text("Upgrade_firmware", "WeryfikacjaOk"));
    EXPECT_EQ(upgrade.progress, 100);
    EXPECT_TRUE(rig.host.questions.empty());
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_FALSE(rig.host.messages[0].isError);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Upgrade_firmware", "aktualizacjaOK1") + "\n\n" +
                                             rig.context.Text("Upgrade_firmware", "aktualizacjaOK2") + "\n" +
                                             rig.context.Text("Upgrade_firmware", "aktualizacjaOK3"));
    const auto& memory = rig.cutter.controller().programMemory();
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), image.begin() + 2));
}

TEST(FirmwareUpgrade, VerifyFindsACorruptedWord)
{
    TempDir dir;
    CutterRig rig;
    rig.context.programDirectory = dir.str();
    rig.protocol->ReadMachineInfo();
    makeImage(dir, "ROM/Qd/Kerfline162.rom", 4, 3);
    rig.cutter.controller().corruptWordOnWrite(40000);

    FirmwareUpgrade upgrade(*rig.protocol, *rig.link);
    upgrade.activate();
    EXPECT_FALSE(upgrade.upgrade());
    EXPECT_FALSE(upgrade.success);
    EXPECT_EQ(upgrade.verifyText, rig.context.Text("Upgrade_firmware", "WeryfikacjaBledy"));
    EXPECT_EQ(upgrade.progress, 61);  // Round(40000 / 65536 x 100): it stopped there
    EXPECT_TRUE(upgrade.upgradeEnabled);
    EXPECT_TRUE(rig.host.messages.empty());
}

TEST(FirmwareUpgrade, OlderLookingImageAsksAboutADowngrade)
{
    TempDir dir;
    ContextRig rig;
    rig.context.programDirectory = dir.str();
    rig.context.machine.setProduct("Qd 1200");
    FakePlatform platform;
    platform.devices = {{"Quorvant", "Qd 1200", ""}};
    std::vector<std::uint8_t> reply(64, 0);
    reply[0] = 1;
    reply[1] = 10;
    platform.channels[17] = reply;
    TfUsb link(rig.context, platform);
    ControllerProtocol protocol(rig.context, link);
    makeImage(dir, "ROM/Qd/Kerfline81.rom", 2, 0);

    FirmwareUpgrade upgrade(protocol, link);
    upgrade.activate();
    EXPECT_TRUE(upgrade.upgradeEnabled);
    platform.reports.clear();
    EXPECT_FALSE(upgrade.upgrade());  // the scripted operator answers Cancel
    ASSERT_EQ(rig.host.questions.size(), 1u);
    EXPECT_EQ(rig.host.questions[0].text, rig.context.Text("Upgrade_firmware", "downgrade"));
    EXPECT_TRUE(platform.reports.empty());
    EXPECT_TRUE(upgrade.upgradeEnabled);
}

TEST(FirmwareUpgrade, BlankTestLooksAtThirtyTwoBits)
{
    ContextRig rig;
    FakePlatform platform;
    platform.devices = {{"Quorvant", "Qd 1200", ""}};
    TfUsb link(rig.context, platform);
    ControllerProtocol protocol(rig.context, link);
    FirmwareUpgrade upgrade(protocol, link);
    std::vector<std::uint8_t> reply(64, 0);
    reply[6] = reply[7] = 0xFF;
    platform.channels[17] = reply;
    EXPECT_TRUE(upgrade.blankTest());
    reply[8] = reply[9] = 0xFF;
    platform.channels[17] = reply;
    EXPECT_FALSE(upgrade.blankTest());
}

TEST(FirmwareUpgrade, MissingOrShortImage)
{
    TempDir dir;
    CutterRig rig;
    rig.context.programDirectory = dir.str();
    rig.protocol->ReadMachineInfo();
    FirmwareUpgrade upgrade(*rig.protocol, *rig.link);
    upgrade.activate();
    EXPECT_EQ(upgrade.imageVersionText, rig.context.Text("Upgrade_firmware", "brakPliku"));
    EXPECT_FALSE(upgrade.upgradeEnabled);
    const auto before = rig.cutter.controller().programMemory();
    upgrade.write(true);
    upgrade.verify();
    EXPECT_EQ(rig.cutter.controller().programMemory(), before);

    makeImage(dir, "ROM/Qd/Kerfline162.rom", 4, 3, kFirmwareFileBytes - 2);
    upgrade.activate();
    EXPECT_TRUE(upgrade.upgradeEnabled);
    upgrade.write(true);
    EXPECT_FALSE(upgrade.success);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_NE(rig.host.messages[0].text.find("Kerfline162.rom"), std::string::npos);
    // An image that cannot be written is found before the controller's program is erased.
    EXPECT_FALSE(upgrade.operationsTicked[FirmwareUpgrade::OperationErase]);
    EXPECT_EQ(rig.cutter.controller().programMemory(), before);
}

TEST(FirmwareUpgrade, ReadThenRestart)
{
    TempDir dir;
    CutterRig rig;
    rig.protocol->ReadMachineInfo();
    FirmwareUpgrade upgrade(*rig.protocol, *rig.link);
    const std::string copy = dir.str() + "controller.rom";
    upgrade.readProgram(copy);
    std::ifstream in(copy, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), kFirmwareFileBytes);
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[2], 2);
    const auto& memory = rig.cutter.controller().programMemory();
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[4 + 2 * 500]), memory[500] & 0xFF);

    upgrade.restart();
    rig.host.runPosted();
    EXPECT_TRUE(rig.link->connected());
    EXPECT_EQ(upgrade.controllerVersionText, "4.2");
    EXPECT_EQ(upgrade.statusText, rig.context.Text("Upgrade_firmware", "TrwaAktualizacja"));
}

}  // namespace
}  // namespace kerfline::machine
