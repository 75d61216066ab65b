#include "config/parameters.h"
#include "cutting/wire_move.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "shell/design_opening.h"
#include "shell/kerf_calibration_piece.h"
#include "base/scripted_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace kerfline {
namespace {

using testing::TempDir;

// The main window's side of opening, kept in lists.
class FakeOpeningHost : public OpeningHost {
public:
    explicit FakeOpeningHost(AppContext& context) : m_context(context) {}

    TMDIChild& createWindow() override
    {
        windows.push_back(std::make_unique<TMDIChild>(m_context));
        captions.emplace_back();
        return *windows.back();
    }
    void setCaption(TMDIChild& window, const std::string& caption) override { captions[indexOf(window)] = caption; }
    void closeWindow(TMDIChild& window) override
    {
        const std::size_t i = indexOf(window);
        windows.erase(windows.begin() + static_cast<long>(i));
        captions.erase(captions.begin() + static_cast<long>(i));
    }
    int windowCount() override { return static_cast<int>(windows.size()); }
    void CloseAll() override
    {
        windows.clear();
        captions.clear();
    }
    void tile() override { log.push_back("tile"); }
    void tileVertically() override { log.push_back("tileVertically"); }
    void showFirst() override { log.push_back("showFirst"); }
    std::optional<std::string> askFileName(const std::string& directory, const std::string& title,
                                           const std::vector<FileFilter>&) override
    {
        log.push_back("ask " + title + " in " + directory);
        if (answers.empty())
            return std::nullopt;
        const std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::unique_ptr<TMDIChild>> windows;
    std::vector<std::string> captions;
    std::vector<std::string> log;
    std::deque<std::string> answers;

private:
    std::size_t indexOf(const TMDIChild& window) const
    {
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (windows[i].get() == &window)
                return i;
        throw std::logic_error("unknown window");
    }
    AppContext& m_context;
};

// One closed square in the pen, as HPGL.
std::string square(int pen)
{
    return "IN;SP" + std::to_string(pen) + ";PU0,0;PD400,0,400,400,0,400,0,0;PU;";
}

class DesignOpeningTest : public ::testing::Test {
protected:
    DesignOpeningTest() : app(host, clock, CommandLine{})
    {
        app.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
    }
    void mode(int m) { app.configuration.setChoice(Param::Mode, m); }

    ScriptedHost host;
    SimulatedClock clock;
    AppContext app;
    FakeOpeningHost windows{app};
    DesignOpener opener{app, windows};
    TempDir dir;
};

TEST(SerialNumbers, LeadingIntegerInTheTableRange)
{
    const std::vector<std::pair<const char*, std::optional<int>>> cases{
        {"3a.plt", 3}, {"03.plt", 3}, {"10.plt", 10}, {"0.plt", 0}, {"9999.plt", 9999},
        {"b.plt", std::nullopt}, {"-1.plt", std::nullopt}, {"12000.plt", std::nullopt},
        {"10000.plt", std::nullopt}, {"99999999999999999999.plt", std::nullopt}, {".plt", std::nullopt}};
    for (const auto& [name, number] : cases)
        EXPECT_EQ(serialNumberOf(name), number) << name;
}

TEST(SerialNumbers, TableKeepsTheLaterOfTwoNamesAndTheExtensionOnly)
{
    const auto table = serialFileTable({"03.plt", "10.plt", "3a.plt", "b.plt", "4.dxf", "5.PLT"}, ".plt");
    EXPECT_EQ(table, (std::map<int, std::string>{{3, "3a.plt"}, {5, "5.PLT"}, {10, "10.plt"}}));
}

TEST(DesignFilters, ClassicFilterTextFromTheUniversalKeys)
{
    ScriptedHost host;
    tInterfejs language(host);
    ASSERT_TRUE(language.load(KERFLINE_LANG_DIR, LanguageChoice{}));
    EXPECT_EQ(filterText(designOpenFilters(language)),
              language.Text("Universal", "wszystkiePliki") + " (*.plt, *.dxf, *.ai, *.eps)|*.plt;*.dxf;*.ai;*.eps|" +
                  language.Text("Universal", "plikPLT") + " (*.plt)|*.plt|" + language.Text("Universal", "plikDXF2D") +
                  " (*.dxf)|*.dxf|" + language.Text("Universal", "plikEPS") + " (*.ai, *.eps)|*.ai;*.eps");
}

TEST_F(DesignOpeningTest, SerialModeOpensTheNumberedFilesHighestFirstAndTiles)
{
    mode(ModeSerial);
    for (const char* name : {"3a.plt", "10.plt", "b.plt", "03.plt", "-1.plt", "12000.plt", "7.dxf"})
        dir.write(name, square(1));
    opener.Open("", dir.str() + "b.plt", true);

    ASSERT_EQ(windows.windows.size(), 2u);
    EXPECT_EQ(windows.windows[0]->seriesIndex, 10);
    EXPECT_EQ(windows.windows[1]->seriesIndex, 3);  // created last
    EXPECT_EQ(windows.windows[1]->fileName, dir.str() + "3a.plt");
    EXPECT_EQ(windows.windows[1]->fileType, 1);
    EXPECT_EQ(windows.log.back(), "tile");
    EXPECT_EQ(app.configuration.settings.lastOpenDir, dir.path().string());
}

TEST_F(DesignOpeningTest, MissingFileIsReportedAndNothingOpens)
{
    opener.Open("", dir.str() + "none.plt", true);
    EXPECT_TRUE(windows.windows.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, app.Text("Universal", "zbioruNieMoznaOtworzyc") + dir.str() + "none.plt");
    EXPECT_TRUE(host.messages[0].isError);
    EXPECT_TRUE(app.configuration.settings.lastOpenDir.empty());
}

TEST_F(DesignOpeningTest, PlainModeRemembersTheDirectoryOnlyWhenAsked)
{
    const std::string file = dir.write("part.plt", square(1));
    opener.Open("", file, false);
    EXPECT_TRUE(app.configuration.settings.lastOpenDir.empty());
    opener.Open("", file, true);
    ASSERT_EQ(windows.windows.size(), 2u);
    EXPECT_EQ(windows.captions[1], file);
    EXPECT_EQ(app.configuration.settings.lastOpenDir, dir.path().string());
}

TEST_F(DesignOpeningTest, CancelledDialogEndsTheCommand)
{
    opener.Open("/somewhere", "", true);
    EXPECT_TRUE(windows.windows.empty());
    EXPECT_EQ(windows.log, std::vector<std::string>{"ask " + app.Text("Main_window", "otworz") + " in /somewhere"});
}

// FRONT and BACK are mixed into the Mix window, which is all that stays open; when their figures
// do not pair, the Mix is closed and they stay.
TEST_F(DesignOpeningTest, IndependentModeOpensFrontAndBackAndMixesThem)
{
    mode(ModeIndependent);
    const std::string file = dir.write("wing.plt", square(4) + square(3));
    opener.Open("", file, true);
    ASSERT_EQ(windows.windows.size(), 1u);
    EXPECT_EQ(windows.captions, (std::vector<std::string>{file + " Mix"}));
    const TMDIChild& mix = *windows.windows[0];
    EXPECT_EQ(mix.synchronousPair, 1);
    ASSERT_EQ(mix.figures.size(), 2u);
    EXPECT_EQ(mix.figures[0].pen, 4);
    EXPECT_EQ(mix.figures[1].pen, 3);
    EXPECT_EQ(mix.fileName, file);

    const std::string unpaired = dir.write(
        "unpaired.plt", square(4) + "IN;SP4;PU2000,0;PD2400,0,2400,400,2000,400,2000,0;PU;" + square(3));
    opener.Open("", unpaired, true);
    EXPECT_EQ(windows.captions, (std::vector<std::string>{unpaired + " FRONT", unpaired + " BACK"}));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, app.Text("Main_window", "QdiloscFigurJednakowa"));
}

TEST_F(DesignOpeningTest, IndependentModeWithoutBackColourClosesAll)
{
    mode(ModeIndependent);
    const std::string file = dir.write("wing.plt", square(4));
    opener.Open("", file, true);
    EXPECT_TRUE(windows.windows.empty());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, app.Text("Main_window", "QduzyjCzerwonyDlaTylu"));
    EXPECT_EQ(host.messages.back().caption, file);
    EXPECT_FALSE(host.messages.back().isError);
}

TEST_F(DesignOpeningTest, PerpendicularFrontWithSideFileOpensBothAndTilesVertically)
{
    mode(ModePerpendicular);
    const std::string front = dir.write("part.plt", square(1));
    const std::string side = dir.write("part_bok.plt", square(1));
    dir.write("part_side.plt", square(1));
    opener.Open("", front, true);

    ASSERT_EQ(windows.windows.size(), 2u);
    EXPECT_EQ(windows.captions[0], front + "   " + frontArmCaption(app));
    EXPECT_EQ(windows.captions[1], side + "   " + backArmCaption(app));
    EXPECT_EQ(windows.windows[0]->seriesIndex, 0);
    EXPECT_EQ(windows.windows[1]->seriesIndex, 1);
    EXPECT_EQ(windows.log, (std::vector<std::string>{"showFirst", "tileVertically"}));
}

TEST_F(DesignOpeningTest, PerpendicularFrontAloneAsksForTheSideDesign)
{
    mode(ModePerpendicular);
    const std::string front = dir.write("part.plt", square(1));
    const std::string other = dir.write("other.plt", square(1));
    windows.answers.push_back(other);
    opener.Open("", front, true);

    ASSERT_EQ(windows.windows.size(), 2u);
    EXPECT_EQ(windows.log.front(), "ask " + app.Text("Main_window", "PrOtworzBoczny") + " in " + dir.path().string());
    EXPECT_EQ(windows.captions[1], other + "   " + backArmCaption(app));

    // With the pair complete the dialog starts a new pair.
    windows.log.clear();
    opener.Open("", "", true);
    EXPECT_TRUE(windows.windows.empty());
    EXPECT_EQ(windows.log, std::vector<std::string>{"ask " + app.Text("Main_window", "PrOtworzPrzedni") + " in "});
}

TEST(SideFile, BokBeforeSideAndNothingWithoutEither)
{
    TempDir dir;
    const std::string front = dir.write("a.plt", "");
    EXPECT_EQ(sideFilePath(front), std::nullopt);
    const std::string side = dir.write("a_side.plt", "");
    EXPECT_EQ(sideFilePath(front), side);
    const std::string bok = dir.write("a_bok.plt", "");
    EXPECT_EQ(sideFilePath(front), bok);
}

TEST_F(DesignOpeningTest, AChosenFolderOpensAsTheSeriesOfItsFirstNumberedDesign)
{
    EXPECT_EQ(firstSerialDesign(dir.str()), std::nullopt);
    for (const char* name : {"notes.txt", "a.plt", "12.txt", "5.dxf", "2.plt", "7.plt"})
        dir.write(name, square(1));
    const auto first = firstSerialDesign(dir.path().string());
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, (dir.path() / "2.plt").string());

    mode(ModeSerial);
    opener.Open("", *first, true);
    ASSERT_EQ(windows.windows.size(), 2u);
    EXPECT_EQ(windows.windows[0]->seriesIndex, 7);
    EXPECT_EQ(windows.windows[1]->seriesIndex, 2);
}

TEST_F(DesignOpeningTest, TheKerfCalibrationPieceOpensAndIsCutAsDrawnWhateverTheKerf)
{
    app.dataDirectory = dir.str();
    app.configuration.setNumber(Param::kerf, 1.2);
    TMDIChild* piece = openKerfCalibrationPiece(app, windows);
    ASSERT_NE(piece, nullptr);
    ASSERT_EQ(windows.windowCount(), 1);
    EXPECT_EQ(windows.captions[0], dir.str() + "KerfCalibration.plt");
    // A 50 mm square with a slot in its top edge, and a 20 mm hole, both as drawn.
    ASSERT_GE(piece->figures.size(), 2u);
    const tfigura& outer = piece->figures[0];
    const tfigura& hole = piece->figures[1];
    EXPECT_EQ(outer.width, 2000);
    EXPECT_EQ(outer.points.size(), 9u);
    EXPECT_EQ(hole.width, 800);
    EXPECT_EQ(hole.minX, 600);
    EXPECT_TRUE(outer.designPoints.empty());
    EXPECT_TRUE(hole.designPoints.empty());
    EXPECT_EQ(piece->kerfInUse, 0.0);
    EXPECT_EQ(piece->pathReady, 1);
    // Prepared again, it stays as drawn.
    piece->ciecie();
    EXPECT_EQ(piece->figures[0].width, 2000);
}

}  // namespace
}  // namespace kerfline
