// The firmware upgrade dialog on the virtual cutter: versions shown, the gauge painting while
// the memory is written, the success message, the service panel's keys and Esc.
#include "cutting/job_rig.h"
#include "machine/firmware_upgrade.h"
#include "machine/ui/firmware_upgrade_dialog.h"
#include "support/screenshot.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kerfline::ui {
namespace {

using kerfline::testing::JobRig;
using kerfline::testing::saveScreenshot;

// An image of the controller's layout in the rig's program directory.
std::vector<std::uint16_t> writeImage(const std::string& programDirectory, std::uint16_t major, std::uint16_t minor)
{
    std::vector<std::uint16_t> words{major, minor};
    std::string data;
    for (std::size_t i = 0; i < machine::kFirmwareWords; ++i)
        words.push_back(static_cast<std::uint16_t>((i * 40503u + 7u) & 0xFFFF));
    for (const std::uint16_t w : words) {
        data += static_cast<char>(w & 0xFF);
        data += static_cast<char>(w >> 8);
    }
    const std::filesystem::path path = std::filesystem::path(programDirectory) / "ROM/Qd/Kerfline162.rom";
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
    return words;
}

QString labelText(const QWidget& dialog, const char* name)
{
    const auto* label = dialog.findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QString("<missing %1>").arg(name);
}

TEST(FirmwareUpgradeDialog, UpgradesTheVirtualCutterToTheSuccessMessage)
{
    JobRig rig;
    rig.context.programDirectory = rig.dir.str();
    const auto image = writeImage(rig.context.programDirectory, 4, 3);

    TUpgradeProgramForm dialog(rig.context, *rig.session);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(labelText(dialog, "ActualDeviceVer"), "4.2");
    EXPECT_EQ(labelText(dialog, "NewVerFromFile"), "4.3");
    auto* start = dialog.findChild<QPushButton*>("ButtonUpgrade");
    ASSERT_TRUE(start != nullptr);
    ASSERT_TRUE(start->isEnabled());
    saveScreenshot(dialog, "firmware_upgrade");

    // While the memory is written the gauge follows the step and the button stays off.
    auto* gauge = dialog.findChild<QProgressBar*>("Gauge");
    int gaugeSeenMidWrite = -1;
    bool startEnabledMidWrite = true;
    const auto shown = dialog.upgrade().changed;
    dialog.upgrade().changed = [&] {
        shown();
        const machine::FirmwareUpgrade& u = dialog.upgrade();
        if (gaugeSeenMidWrite < 0 && u.operationsTicked[machine::FirmwareUpgrade::OperationWrite] && u.progress == 50) {
            gaugeSeenMidWrite = gauge->value();
            startEnabledMidWrite = start->isEnabled();
            saveScreenshot(dialog, "firmware_upgrade_writing");
        }
    };
    QTest::mouseClick(start, Qt::LeftButton);

    EXPECT_EQ(gaugeSeenMidWrite, 50);
    EXPECT_FALSE(startEnabledMidWrite);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_FALSE(rig.host.messages[0].isError);
    EXPECT_EQ(rig.host.messages[0].text.rfind(rig.context.Text("Upgrade_firmware", "aktualizacjaOK1"), 0), 0u);
    const auto& memory = rig.controller().programMemory();
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), image.begin() + 2));
    for (const char* tick : {"operation0", "operation1", "operation2"})
        EXPECT_TRUE(dialog.findChild<QCheckBox*>(tick)->isChecked()) << tick;
}

TEST(FirmwareUpgradeDialog, ServiceKeysEscAndAMissingImage)
{
    JobRig rig;
    rig.context.programDirectory = rig.dir.str();  // no ROM folder
    TUpgradeProgramForm dialog(rig.context, *rig.session);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(labelText(dialog, "NewVerFromFile").toStdString(), rig.context.Text("Upgrade_firmware", "brakPliku"));
    EXPECT_FALSE(dialog.findChild<QPushButton*>("ButtonUpgrade")->isEnabled());

    EXPECT_FALSE(dialog.servicePanelVisible());
    QTest::keyClick(&dialog, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);  // not the service chord
    EXPECT_FALSE(dialog.servicePanelVisible());
    QTest::keyClick(&dialog, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(dialog.servicePanelVisible());
    QTest::qWait(50);
    saveScreenshot(dialog, "firmware_upgrade_service");

    // The service Read writes into the data directory, never over an image.
    QTest::mouseClick(dialog.findChild<QPushButton*>("ReadProgram"), Qt::LeftButton);
    const std::filesystem::path read = std::filesystem::path(rig.context.dataDirectory) / "Kerfline162.rom";
    EXPECT_EQ(std::filesystem::file_size(read), machine::kFirmwareFileBytes);
    EXPECT_FALSE(std::filesystem::exists(rig.dir.path() / "ROM"));
    EXPECT_TRUE(labelText(dialog, "VerifyPanel").contains(QString::fromStdString(read.string())));

    QTest::keyClick(&dialog, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_FALSE(dialog.servicePanelVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace kerfline::ui
