#include "config/configuration_lifecycle.h"

#include "config/configuration.h"
#include "config/konfig_file.h"
#include "config_test_support.h"
#include "machine/link_rig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

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
    EXPECT_EQ(t.host.messages[0].text, "Configuration file not found, creating it:\n" + t.data.str() + "Kerfline.kcc");
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
    EXPECT_FALSE(openConfiguration(t.app, t.data.str()).ok());  // a directory cannot be read
    EXPECT_EQ(c.settings.configPath, "/before.kcc");
    ASSERT_TRUE(saveConfigurationAs(t.app, t.data.str() + "good.kcc").ok());
    EXPECT_EQ(c.settings.configPath, t.data.str() + "good.kcc");
    // A bad value spoils only its line: the model holds the rest of the file, which is current.
    const std::string bad = t.data.write("bad.kcc", "skala := ?\r\nPauza_w_kacie := 30\r\n");
    EXPECT_EQ(openConfiguration(t.app, bad).status, ConfigFileResult::Status::BadValue);
    EXPECT_EQ(c.number(Param::Pauza_w_kacie), 30);
    EXPECT_EQ(c.settings.configPath, bad);
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A hand-edited file with one bad value: the values after it were lost when the load stopped
// there, and the next opening of the dialog wrote the half-applied model over the file.
TEST(ConfigurationLifecycle, AFileWithABadValueKeepsItsOtherLinesAndIsKeptBeforeItIsRewritten)
{
    ConfigContext t;
    Configuration& c = t.config();
    const std::string original = "skala := 150\r\nPauza_w_kacie := abc\r\nCzasRozgrzewania := 2500\r\nHeavy := cbChecked\r\n";
    const std::string path = t.data.write("Kerfline.kcc", original);

    const ConfigFileResult started = startConfiguration(t.app);
    EXPECT_EQ(started.status, ConfigFileResult::Status::BadValue);
    EXPECT_EQ(started.line, 2);
    EXPECT_EQ(messageFor(started, t.app.language),
              path + ", line 2: the value \"abc\" cannot be read. The other lines have been applied. Before the "
                     "program writes this file again, it keeps the present file as " + path + ".bak.");
    EXPECT_EQ(c.number(Param::skala), 150);
    EXPECT_EQ(c.number(Param::Pauza_w_kacie), 100);  // as it was
    EXPECT_EQ(c.number(Param::CzasRozgrzewania), 2500);
    EXPECT_TRUE(c.isChecked(Param::Heavy));
    EXPECT_TRUE(c.powerOutputPending);
    EXPECT_TRUE(c.radio(Param::rbZmiennaPredkosc));
    EXPECT_EQ(readFile(path), original);  // reading changes nothing

    // The first rewrite keeps the file as it was beside it, and writes every value.
    ASSERT_TRUE(activateConfiguration(t.app).ok());
    EXPECT_EQ(readFile(path + ".bak"), original);
    EXPECT_EQ(readFile(path), KonfigText(c, t.app.decimalSeparator));
    EXPECT_NE(readFile(path).find("CzasRozgrzewania := 2500\r\n"), std::string::npos);

    // Later rewrites leave the kept copy alone.
    c.setNumber(Param::skala, 90);
    ASSERT_TRUE(activateConfiguration(t.app).ok());
    EXPECT_EQ(readFile(path + ".bak"), original);
    EXPECT_NE(readFile(path).find("skala := 90\r\n"), std::string::npos);
}

TEST(ConfigurationLifecycle, AFileThatCannotBeKeptIsNotRewritten)
{
    ConfigContext t;
    Configuration& c = t.config();
    const std::string original = "skala := x\r\nPauza_w_kacie := 30\r\n";
    c.settings.configPath = t.data.write("mine.kcc", original);
    c.setCheck(Param::AutoSave, CheckState::cbChecked);
    ASSERT_EQ(openConfiguration(t.app, c.settings.configPath).status, ConfigFileResult::Status::BadValue);
    std::filesystem::create_directory(c.settings.configPath + ".bak");  // where the copy would go

    const ConfirmResult ok = confirmConfiguration(t.app);
    EXPECT_EQ(ok.file.status, ConfigFileResult::Status::WriteFailed);
    EXPECT_EQ(ok.file.path, c.settings.configPath + ".bak");
    EXPECT_EQ(readFile(c.settings.configPath), original);

    // Once the copy can be made, OK saves.
    std::filesystem::remove(c.settings.configPath + ".bak");
    ASSERT_TRUE(confirmConfiguration(t.app).file.ok());
    EXPECT_EQ(readFile(c.settings.configPath + ".bak"), original);
    EXPECT_NE(readFile(c.settings.configPath).find("Pauza_w_kacie := 30\r\n"), std::string::npos);
}

TEST(ConfigurationLifecycle, CleanFilesAreRewrittenWithoutACopy)
{
    ConfigContext t;
    t.data.write("Kerfline.kcc", "skala := 150\r\n");
    ASSERT_TRUE(startConfiguration(t.app).ok());
    ASSERT_TRUE(activateConfiguration(t.app).ok());
    EXPECT_FALSE(std::filesystem::exists(t.data.path() / "Kerfline.kcc.bak"));
}

// Cancel restores the snapshot, which holds the power before PowerOutput (the last line).
TEST(ConfigurationLifecycle, CancelBringsBackTheShapedWirePower)
{
    ConfigContext t;
    Configuration& c = t.config();
    t.machine().setProduct("Qd 1200");
    c.setChoice(Param::PowerOutput, 1);
    c.setNumber(Param::work_power, 10);
    ASSERT_TRUE(activateConfiguration(t.app).ok());
    ASSERT_EQ(c.number(Param::work_power), 10);

    c.setChoice(Param::PowerOutput, 0);  // the operator tries the straight wire: 4 A at most
    EXPECT_EQ(c.number(Param::work_power), 4);
    ASSERT_TRUE(cancelConfiguration(t.app).ok());
    EXPECT_EQ(c.choice(Param::PowerOutput), 1);
    EXPECT_EQ(c.number(Param::work_power), 10);
}

// The positions are read from the controller when the button is pressed; what the panel saw
// last is not where the wire stands.
struct TakeCase {
    const char* name;
    bool homed;
    std::function<void(testing::CutterRig&)> fault;
    AxisPositionTaken taken;
    double x, y;  // Xwrzeciona, Ywrzeciona afterwards
};

class TakeAxisPositionTest : public ::testing::TestWithParam<TakeCase> {};

TEST_P(TakeAxisPositionTest, ReadsTheControllerNow)
{
    const TakeCase& c = GetParam();
    testing::CutterRig rig;
    rig.readMachine();
    if (c.homed) {
        rig.home();
        ASSERT_TRUE(rig.motion->gotopoint(true, 0, 123.45, 123.45, 56.7, 56.7, 0, 0));
    }
    // what the panel saw before the move
    rig.context.machine.frontX = 100;
    rig.context.machine.frontY = 200;
    if (c.fault)
        c.fault(rig);
    Configuration& configuration = rig.context.configuration;
    EXPECT_EQ(takeAxisPosition(configuration, rig.protocol.get(), true), c.taken);
    EXPECT_DOUBLE_EQ(configuration.number(Param::Xwrzeciona), c.x);
    EXPECT_DOUBLE_EQ(configuration.number(Param::Ywrzeciona), c.y);
    EXPECT_EQ(configuration.number(Param::Xstolika), 1000);  // the table's stay
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TakeAxisPositionTest,
    ::testing::Values(TakeCase{"Homed", true, nullptr, AxisPositionTaken::Taken, 123.45, 56.7},
                      TakeCase{"NotHomed", false, nullptr, AxisPositionTaken::NotHomed, 12, 730},
                      TakeCase{"ReadFails", true, [](testing::CutterRig& r) { r.cutter.failReads(1000); },
                               AxisPositionTaken::NoConnection, 12, 730},
                      TakeCase{"Unplugged", true, [](testing::CutterRig& r) { r.cutter.unplug(); },
                               AxisPositionTaken::NoConnection, 12, 730}),
    [](const ::testing::TestParamInfo<TakeCase>& info) { return std::string(info.param.name); });

TEST(ConfigurationLifecycle, TakingAnAxisPositionWithoutAControllerChangesNothing)
{
    ConfigContext t;
    t.machine().statusFlags = statusBit(StatusFlag::homed);
    t.machine().frontX = 12345;
    EXPECT_EQ(takeAxisPosition(t.config(), nullptr, false), AxisPositionTaken::NoConnection);
    EXPECT_EQ(t.config().number(Param::Xstolika), 1000);
}

}  // namespace
}  // namespace kerfline
