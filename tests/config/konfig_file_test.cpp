#include "config/konfig_file.h"

#include "config/configuration.h"
#include "config_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

using testing::ConfigContext;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

TEST(KonfigFile, WritesEveryParameterInFileOrder)
{
    ConfigContext t;
    Configuration& c = t.config();
    c.setNumber(Param::fuPlt_accuracy, 0.125);
    c.setCheck(Param::AutoSave, CheckState::cbGrayed);
    c.setRadio(Param::rbStalaPredkosc, true);
    const std::vector<std::string> lines = crlfLines(KonfigText(c, ','));
    ASSERT_EQ(lines.size(), 40u);
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].substr(0, lines[i].find(' ')), parameterTable()[i].key);
    EXPECT_EQ(lines[0], "Mode := 0");
    EXPECT_EQ(lines[1], "AutoSave := cbGrayed");
    EXPECT_EQ(lines[3], "CatDir := 2");
    EXPECT_EQ(lines[4], "work_power := 1");
    EXPECT_EQ(lines[8], "dopasujKierunek := cbChecked");
    EXPECT_EQ(lines[32], "fuPlt_accuracy := 0,125");
    EXPECT_EQ(lines[35], "rgPredkoscTokarki := -1");
    EXPECT_EQ(lines[36], "rbZmiennaPredkosc := 0");
    EXPECT_EQ(lines[37], "rbStalaPredkosc := -1");
    // Added last, after the parameters every earlier file holds.
    EXPECT_EQ(lines[39], "kerf := 0");
}

// Every parameter away from its default, in a model of its own.
void setEverything(Configuration& c)
{
    c.setChoice(Param::PowerOutput, 1);  // first: it raises the power maximum to 12
    c.setChoice(Param::Mode, 3);
    c.setCheck(Param::AutoSave, CheckState::cbChecked);
    c.setChoice(Param::radiounit, 1);
    c.setChoice(Param::CatDir, 1);
    c.setNumber(Param::work_power, 2.7);
    c.setNumber(Param::CzasRozgrzewania, 1300);
    c.setCheck(Param::Wstrzymaj, CheckState::cbGrayed);
    c.setChoice(Param::KierunekObrotow, 1);
    c.setCheck(Param::dopasujKierunek, CheckState::cbUnchecked);
    c.setNumber(Param::il_obr_rys, 3);
    c.setNumber(Param::Pauza_w_kacie, 250);
    c.setNumber(Param::ilosckrokow, 360);
    c.setNumber(Param::Srednicamaterialu, 123.456789012345);
    c.setNumber(Param::szybkoscObrobki, 777.7);
    c.setNumber(Param::PrzeSpeed, 2500);
    c.setNumber(Param::skala, 87.5);
    c.setCheck(Param::Heavy, CheckState::cbChecked);
    c.setChoice(Param::StolikSwitch, 1);
    c.setCheck(Param::AddFrame, CheckState::cbChecked);
    c.setCheck(Param::MoveAfter, CheckState::cbGrayed);
    c.setNumber(Param::Xwrzeciona, -12.25);
    c.setNumber(Param::Ywrzeciona, 731);
    c.setNumber(Param::Xstolika, 999.5);
    c.setNumber(Param::Ystolika, 0.001);
    c.setNumber(Param::Xnarzedzia, -0.5);
    c.setNumber(Param::Ynarzedzia, 3);
    c.setNumber(Param::feKalibracjaX, -1.5);
    c.setNumber(Param::feKalibracjaY, 4);
    c.setCheck(Param::cbCheckForUpdate, CheckState::cbChecked);
    c.setChoice(Param::rgBazowanie, 1);
    c.setChoice(Param::rgKatObrotu, 1);
    c.setChoice(Param::rgAlgorytmObrotowego, 1);
    c.setNumber(Param::fuPlt_accuracy, 0.0625);
    c.setPosition(Param::sbWspSymulacji, 60);
    c.setPosition(Param::sbRozdzKrzywychDXF, 8);
    c.setRadio(Param::rbStalaPredkosc, true);
    c.setNumber(Param::kerf, 0.85);
}

class RoundTripTest : public ::testing::TestWithParam<char> {};

TEST_P(RoundTripTest, EveryParameterComesBack)
{
    ConfigContext written;
    setEverything(written.config());
    // the model forced nothing back to a default
    for (const ParameterInfo& info : parameterTable()) {
        if (info.id != Param::rgPredkoscTokarki && info.id != Param::rbZmiennaPredkosc) {
            EXPECT_NE(written.config().raw(info.id), info.defaultValue) << info.key;
        }
    }

    const std::string path = written.data.str() + "all.kcc";
    ASSERT_TRUE(SaveKonfig(written.config(), path, GetParam()).ok());
    ConfigContext read;
    ASSERT_TRUE(LoadKonfig(read.config(), path, GetParam(), read.app.language).ok());
    for (const ParameterInfo& info : parameterTable())
        EXPECT_EQ(read.config().raw(info.id), written.config().raw(info.id)) << info.key;
    EXPECT_TRUE(read.config().constantLatheSpeed);
    EXPECT_TRUE(read.host.messages.empty());
    // nothing but the file is left in the directory
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(written.data.path()), std::filesystem::directory_iterator{}), 1);
}

INSTANTIATE_TEST_SUITE_P(Separators, RoundTripTest, ::testing::Values('.', ','));

TEST(KonfigFile, HandWrittenFixtureLoadsToTheExpectedValues)
{
    ConfigContext t;
    Configuration& c = t.config();
    const std::string path = std::string(KERFLINE_TEST_DATA_DIR) + "config/hand_written.kcc";
    const ConfigFileResult result = LoadKonfig(c, path, '.', t.app.language);
    ASSERT_TRUE(result.ok()) << messageFor(result, t.app.language);
    EXPECT_EQ(c.choice(Param::Mode), 3);
    EXPECT_TRUE(c.modeChanged);
    EXPECT_EQ(c.check(Param::AutoSave), CheckState::cbGrayed);
    EXPECT_EQ(c.choice(Param::StolikSwitch), 2);
    EXPECT_EQ(c.number(Param::skala), 175);
    EXPECT_EQ(c.number(Param::Srednicamaterialu), 254.5);  // a comma under a point locale
    EXPECT_EQ(c.number(Param::szybkoscObrobki), 5000);
    EXPECT_TRUE(c.radio(Param::rbStalaPredkosc));
    EXPECT_FALSE(c.radio(Param::rbZmiennaPredkosc));
    EXPECT_TRUE(c.constantLatheSpeed);
    EXPECT_EQ(c.number(Param::feKalibracjaX), 2);
    EXPECT_TRUE(c.calibrationChanged);
    EXPECT_EQ(c.number(Param::Xnarzedzia), -12.5);
    EXPECT_EQ(c.check(Param::dopasujKierunek), CheckState::cbUnchecked);
    EXPECT_EQ(c.position(Param::sbRozdzKrzywychDXF), 1);
    // untouched
    EXPECT_EQ(c.number(Param::work_power), 1.0);
    EXPECT_EQ(c.number(Param::Ywrzeciona), 730);
    EXPECT_EQ(c.number(Param::kerf), 0.0);  // a file of an earlier version: no compensation
    EXPECT_TRUE(c.powerOutputPending);
    EXPECT_FALSE(c.loadingConfig);
    // and written back as it was read
    EXPECT_NE(KonfigText(c, '.').find("AutoSave := cbGrayed\r\n"), std::string::npos);
}

TEST(KonfigFile, OneLineChangesOneParameter)
{
    ConfigContext t;
    Configuration& c = t.config();
    c.setNumber(Param::work_power, 2.5);
    ASSERT_TRUE(applyKonfigText(c, "skala := 150").ok());
    EXPECT_EQ(c.number(Param::skala), 150);
    EXPECT_EQ(c.number(Param::work_power), 2.5);
    // no lathe speed chosen: the variable one is
    EXPECT_TRUE(c.radio(Param::rbZmiennaPredkosc));
    EXPECT_FALSE(c.constantLatheSpeed);
}

TEST(KonfigFile, TheKerfIsALengthOfZeroToFiveMillimetres)
{
    ConfigContext t;
    Configuration& c = t.config();
    for (const auto& [line, kerf] : {std::pair{"kerf := 0.45", 0.45}, std::pair{"kerf := 7", 5.0},
                                     std::pair{"kerf := -1", 0.0}, std::pair{"kerf := 1.5", 1.5}}) {
        ASSERT_TRUE(applyKonfigText(c, line).ok()) << line;
        EXPECT_DOUBLE_EQ(c.number(Param::kerf), kerf) << line;
    }
    // Shown in the display unit, stored in millimetres.
    ASSERT_TRUE(applyKonfigText(c, "radiounit := 1").ok());
    EXPECT_NE(KonfigText(c, '.').find("kerf := 1.5\r\n"), std::string::npos);
}

TEST(KonfigFile, LengthsStayMillimetresWhateverTheUnit)
{
    ConfigContext t;
    Configuration& c = t.config();
    ASSERT_TRUE(applyKonfigText(c, "radiounit := 1\r\nSrednicamaterialu := 254\r\n").ok());
    EXPECT_EQ(c.displayUnit, 1);
    EXPECT_EQ(c.number(Param::Srednicamaterialu), 254);
    EXPECT_NE(KonfigText(c, '.').find("Srednicamaterialu := 254\r\n"), std::string::npos);
}

TEST(KonfigFile, RadioButtonValues)
{
    struct Case {
        const char* value;
        ApplyOutcome outcome;
        bool checked;
    };
    for (const Case& c : {Case{"0", ApplyOutcome::Applied, false}, Case{"-1", ApplyOutcome::Applied, true},
                          Case{"5", ApplyOutcome::Applied, true}, Case{"True", ApplyOutcome::Applied, true},
                          Case{"FALSE", ApplyOutcome::Applied, false}, Case{"yes", ApplyOutcome::BadValue, false},
                          Case{"", ApplyOutcome::BadValue, false}}) {
        ConfigContext t;
        EXPECT_EQ(applyParameterText(t.config(), "rbStalaPredkosc", c.value), c.outcome) << c.value;
        EXPECT_EQ(t.config().radio(Param::rbStalaPredkosc), c.checked) << c.value;
    }
    ConfigContext t;
    EXPECT_EQ(applyParameterText(t.config(), "Skala", "5"), ApplyOutcome::UnknownName);  // case matters
}

TEST(KonfigFile, NumbersReadTheirLeadingRun)
{
    struct Case {
        const char* value;
        ApplyOutcome outcome;
        double number;
    };
    for (const Case& c : {Case{"12.5mm", ApplyOutcome::Applied, 12.5}, Case{"12,5", ApplyOutcome::Applied, 12.5},
                          Case{"+7", ApplyOutcome::Applied, 7}, Case{"abc", ApplyOutcome::BadValue, 0},
                          Case{"", ApplyOutcome::BadValue, 0}, Case{"1-2", ApplyOutcome::BadValue, 0},
                          Case{"1e3", ApplyOutcome::Applied, 1}}) {
        ConfigContext t;
        EXPECT_EQ(applyParameterText(t.config(), "Ynarzedzia", c.value), c.outcome) << c.value;
        EXPECT_EQ(t.config().number(Param::Ynarzedzia), c.number) << c.value;
    }
    ConfigContext t;
    EXPECT_EQ(applyParameterText(t.config(), "CatDir", "1.0"), ApplyOutcome::BadValue);
    EXPECT_EQ(applyParameterText(t.config(), "sbWspSymulacji", "x"), ApplyOutcome::BadValue);
}

TEST(KonfigFile, ABadValueSpoilsOnlyItsLine)
{
    ConfigContext t;
    Configuration& c = t.config();
    const ConfigFileResult result = applyKonfigText(
        c, "skala := 150\r\nPauza_w_kacie := 20\rMode := x\nskala := 3\r\nCatDir := ?\r\nHeavy := cbChecked\r\n",
        "/cfg/a.kcc");
    EXPECT_EQ(result.status, ConfigFileResult::Status::BadValue);
    EXPECT_EQ(result.line, 3);  // the first bad line is reported
    EXPECT_EQ(c.number(Param::skala), 3);
    EXPECT_EQ(c.number(Param::Pauza_w_kacie), 20);
    EXPECT_EQ(c.choice(Param::Mode), 0);
    EXPECT_EQ(c.choice(Param::CatDir), 2);
    EXPECT_TRUE(c.isChecked(Param::Heavy));
    // the load ended as any other does
    EXPECT_TRUE(c.powerOutputPending);
    EXPECT_TRUE(c.radio(Param::rbZmiennaPredkosc));
    EXPECT_FALSE(c.loadingConfig);
    EXPECT_EQ(messageFor(result, t.app.language), "/cfg/a.kcc, line 3: the value \"x\" cannot be read.");
}

// work_power comes before PowerOutput in the file; the maximum PowerOutput sets must be in
// force before the power is applied.
TEST(KonfigFile, PowerIsAppliedAgainstTheMaximumTheSameFileSets)
{
    struct Case {
        int outputBefore;
        double powerBefore;
        const char* text;
        int output;
        double power;
        ConfigFileResult::Status status;
    };
    for (const Case& k : {
             Case{0, 1, "work_power := 10\r\nPowerOutput := 1\r\n", 1, 10, ConfigFileResult::Status::Ok},
             Case{0, 1, "PowerOutput := 1\r\nwork_power := 10\r\n", 1, 10, ConfigFileResult::Status::Ok},
             Case{1, 10, "work_power := 3\r\nPowerOutput := 0\r\n", 0, 3, ConfigFileResult::Status::Ok},
             Case{1, 10, "work_power := 11\r\nPowerOutput := 0\r\n", 0, 4, ConfigFileResult::Status::Ok},
             Case{1, 10, "PowerOutput := 0\r\n", 0, 4, ConfigFileResult::Status::Ok},
             Case{0, 2, "work_power := 10\r\n", 0, 4, ConfigFileResult::Status::Ok},
             // a later line wins; a bad power line is reported at its own line
             Case{0, 1, "work_power := 5\r\nwork_power := 9\r\nPowerOutput := 1\r\n", 1, 9,
                  ConfigFileResult::Status::Ok},
             Case{0, 1, "work_power := x\r\nPowerOutput := 1\r\n", 1, 1, ConfigFileResult::Status::BadValue},
         }) {
        SCOPED_TRACE(k.text);
        ConfigContext t;
        Configuration& c = t.config();
        t.machine().setProduct("Qd 1200");
        c.setChoice(Param::PowerOutput, k.outputBefore);
        c.applyPowerMaximum();
        c.setNumber(Param::work_power, k.powerBefore);
        const ConfigFileResult result = applyKonfigText(c, k.text);
        EXPECT_EQ(result.status, k.status);
        if (k.status == ConfigFileResult::Status::BadValue) {
            EXPECT_EQ(result.line, 1);
        }
        EXPECT_EQ(c.choice(Param::PowerOutput), k.output);
        EXPECT_EQ(c.number(Param::work_power), k.power);
    }
}

TEST(KonfigFile, OverlongLinesAreReadInBoundedMemory)
{
    ConfigContext t;
    Configuration& c = t.config();
    const std::string garbage(5000, 'x');
    ASSERT_TRUE(applyKonfigText(c, "skala := 12" + garbage + "\r\n" + garbage + " := 1\r\n").ok());
    EXPECT_EQ(c.number(Param::skala), 12);
    const ConfigFileResult digits = applyKonfigText(c, "skala := " + std::string(5000, '1'));
    EXPECT_EQ(digits.status, ConfigFileResult::Status::BadValue);
    EXPECT_LT(digits.value.size(), 50u);
}

TEST(KonfigFile, AMissingFileIsReportedAndCreated)
{
    ConfigContext t;
    Configuration& c = t.config();
    c.setNumber(Param::skala, 120);
    const std::string path = t.data.str() + "new.kcc";
    const std::string current = KonfigText(c, ',');
    ASSERT_TRUE(LoadKonfig(c, path, ',', t.app.language).ok());
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0].text, "Configuration file not found, creating it:\n" + path);
    EXPECT_EQ(t.host.messages[0].caption, "Configuration");
    EXPECT_FALSE(t.host.messages[0].isError);
    EXPECT_EQ(readFile(path), current);
    EXPECT_NE(current.find("skala := 120\r\n"), std::string::npos);
    EXPECT_TRUE(c.powerOutputPending);
    EXPECT_TRUE(c.radio(Param::rbZmiennaPredkosc));
}

TEST(KonfigFile, FailuresNameTheFile)
{
    ConfigContext t;
    const std::string nowhere = t.data.str() + "no/such/dir/x.kcc";
    const ConfigFileResult saved = SaveKonfig(t.config(), nowhere, '.');
    EXPECT_EQ(saved.status, ConfigFileResult::Status::WriteFailed);
    EXPECT_EQ(messageFor(saved, t.app.language), "Cannot save the file " + nowhere);

    const ConfigFileResult loaded = LoadKonfig(t.config(), t.data.str(), '.', t.app.language);
    EXPECT_EQ(loaded.status, ConfigFileResult::Status::ReadFailed);
    EXPECT_FALSE(t.config().loadingConfig);
}

TEST(KonfigFile, SavingReplacesTheOldFile)
{
    ConfigContext t;
    const std::string path = t.data.write("a.kcc", std::string(10000, 'z'));
    ASSERT_TRUE(SaveKonfig(t.config(), path, '.').ok());
    EXPECT_EQ(readFile(path), KonfigText(t.config(), '.'));
}

}  // namespace
}  // namespace kerfline
