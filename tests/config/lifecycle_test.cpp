#include "config/configuration_lifecycle.h"

#include "config/configuration.h"
#include "config/konfig_file.h"
#include "config_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kerfline {
namespace {

using testing::ConfigContext;

TEST(ConfigurationLifecycle, FirstStartCreatesBothFiles)
{
    ConfigContext t;
    ASSERT_TRUE(startConfiguration(t.app).ok());
    EXPECT_TRUE(std::filesystem::exists(t.data.path() / "Kerfline.gcf"));
    EXPECT_TRUE(std::filesystem::exists(t.data.path() / "Kerfline.kcc"));
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0].text, t.data.str() + "Kerfline.kcc");
    EXPECT_EQ(t.config().settings.configPath, t.data.str() + "Kerfline.kcc");
}

TEST(ConfigurationLifecycle, StartLoadsTheCurrentFileAndDerivesItsValues)
{
    ConfigContext t;
    const std::string path = t.data.write("mine.kcc", "radiounit := 2\r\nfuPlt_accuracy := 0,1\r\nsbRozdzKrzywychDXF := 8\r\n");
    t.config().settings.configPath = path;
    GlobalSettings settings = defaultGlobalSettings(t.data.str());
    settings.configPath = path;
    ASSERT_TRUE(SaveGlobalSettings(settings, t.data.str()).ok());

    ASSERT_TRUE(startConfiguration(t.app).ok());
    EXPECT_TRUE(t.host.messages.empty());
    EXPECT_EQ(t.config().displayUnit, 2);
    EXPECT_EQ(t.config().joinTolerance, 4.0);
    EXPECT_EQ(t.config().dxfCurveStep, 0.25);
    EXPECT_FALSE(t.config().constantLatheSpeed);
}

TEST(ConfigurationLifecycle, ActivationSnapshotIsWhatCancelRestores)
{
    ConfigContext t;
    Configuration& c = t.config();
    t.machine().setProduct("Qd 1200");
    ASSERT_TRUE(applyKonfigText(c, "Mode := 5\r\nskala := 90").ok());
    ASSERT_TRUE(activateConfiguration(t.app).ok());
    EXPECT_EQ(c.choice(Param::Mode), 4);  // no perpendicular cutting on this machine
    EXPECT_FALSE(c.modeChanged);
    EXPECT_TRUE(std::filesystem::exists(t.data.path() / "Kerfline.kcc"));

    c.setNumber(Param::skala, 300);
    c.setChoice(Param::Mode, 1);
    ASSERT_TRUE(cancelConfiguration(t.app).ok());
    EXPECT_EQ(c.number(Param::skala), 90);
    EXPECT_EQ(c.choice(Param::Mode), 4);
    EXPECT_FALSE(c.modeChanged);
    EXPECT_FALSE(c.powerOutputPending);
}

TEST(ConfigurationLifecycle, OkSavesWhenAutoSaveIsCheckedAndAsksForTheCalibration)
{
    ConfigContext t;
    Configuration& c = t.config();
    c.settings = defaultGlobalSettings(t.data.str());
    c.settings.configPath = t.data.str() + "auto.kcc";
    c.setNumber(Param::fuPlt_accuracy, 0.0625);
    c.setRadio(Param::rbStalaPredkosc, true);
    c.setNumber(Param::feKalibracjaX, 1);

    ConfirmResult ok = confirmConfiguration(t.app);
    ASSERT_TRUE(ok.file.ok());
    EXPECT_TRUE(ok.machineToReread);
    EXPECT_FALSE(std::filesystem::exists(c.settings.configPath));
    EXPECT_TRUE(std::filesystem::exists(t.data.path() / "Kerfline.gcf"));
    EXPECT_EQ(c.joinTolerance, 2.0);
    EXPECT_TRUE(c.constantLatheSpeed);

    c.setCheck(Param::AutoSave, CheckState::cbChecked);
    ok = confirmConfiguration(t.app);
    ASSERT_TRUE(ok.file.ok());
    EXPECT_TRUE(std::filesystem::exists(c.settings.configPath));
}

TEST(ConfigurationLifecycle, SaveAsAndOpenChangeTheCurrentFileOnlyWhenTheyWork)
{
    ConfigContext t;
    Configuration& c = t.config();
    c.settings.configPath = "/before.kcc";
    EXPECT_FALSE(saveConfigurationAs(t.app, t.data.str() + "missing/dir.kcc").ok());
    EXPECT_EQ(c.settings.configPath, "/before.kcc");
    const std::string bad = t.data.write("bad.kcc", "skala := ?");
    EXPECT_FALSE(openConfiguration(t.app, bad).ok());
    EXPECT_EQ(c.settings.configPath, "/before.kcc");
    ASSERT_TRUE(saveConfigurationAs(t.app, t.data.str() + "good.kcc").ok());
    EXPECT_EQ(c.settings.configPath, t.data.str() + "good.kcc");
}

TEST(ConfigurationLifecycle, AxisPositionComesOnlyFromAHomedMachine)
{
    ConfigContext t;
    t.machine().frontX = 12345;
    t.machine().frontY = 50;
    EXPECT_FALSE(takeAxisPosition(t.config(), t.machine(), true));
    EXPECT_EQ(t.config().number(Param::Xwrzeciona), 12);
    t.machine().statusFlags = statusBit(StatusFlag::homed);
    EXPECT_TRUE(takeAxisPosition(t.config(), t.machine(), false));
    EXPECT_EQ(t.config().number(Param::Xstolika), 123.45);
    EXPECT_EQ(t.config().number(Param::Ystolika), 0.5);
}

}  // namespace
}  // namespace kerfline
