// The About box's rules: dealer address, vendor row and logo, the machine-width row by family,
// the machine's values from the virtual cutter and "no data" without a controller.
#include "aids/about_information.h"
#include "machine/link_rig.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kerfline {
namespace {

using testing::ContextRig;
using testing::CutterRig;
using testing::TempDir;

TEST(AboutDealer, AddressVendorRowAndLogoByEdition)
{
    TempDir dir;
    dir.write("TALMOR.bmp", "BM");
    std::filesystem::create_directory(dir.path() / "ACME.bmp");  // a directory is no logo
    struct Case {
        const char* edition;
        const char* address;
        bool vendorRow;
        bool logo;
    };
    for (const Case c : {Case{"", kMakerWebAddress, true, false}, Case{"QUORVANT", kMakerWebAddress, true, false},
                         Case{"TALMOR", kTalmorWebAddress, false, true}, Case{"ACME", "", false, false}}) {
        const AboutDealer dealer = aboutDealer(c.edition, dir.str());
        EXPECT_EQ(dealer.webAddress, c.address) << c.edition;
        EXPECT_EQ(dealer.vendorRowVisible, c.vendorRow) << c.edition;
        EXPECT_EQ(dealer.logoPath, c.logo ? dir.str() + c.edition + ".bmp" : "") << c.edition;
    }
}

TEST(AboutTexts, WidthRowFamiliesRunTimeAndArea)
{
    for (const char* family : {"Qd", "gv", "Qm"})
        EXPECT_TRUE(showsMachineWidth(family)) << family;
    for (const char* family : {"QD", "GV", "qm", "Pr", "KK", ""})
        EXPECT_FALSE(showsMachineWidth(family)) << family;

    ContextRig rig;
    EXPECT_EQ(runTimeText(135, rig.context.language), "2" + rig.context.Text("About", "godz") + "15 min.");
    EXPECT_EQ(runTimeText(59, rig.context.language), "0" + rig.context.Text("About", "godz") + "59 min.");

    MachineState machine;
    machine.limitX = 1270;
    machine.limitY = 635;
    EXPECT_EQ(workingAreaText(machine, UnitMillimetre, ','), "1270,0x635,0 mm");
    EXPECT_EQ(workingAreaText(machine, UnitInch, '.'), "50.0x25.0 in");
}

TEST(AboutTexts, BuildDateIsTheExecutablesDateOrUnknown)
{
    ContextRig rig;
    TempDir dir;
    EXPECT_EQ(buildDate(dir.str(), rig.context.language), rig.context.Text("About", "Nieznana"));
    dir.write(kProgramExecutable, "");
    const std::string date = buildDate(dir.str(), rig.context.language);
    EXPECT_FALSE(date.empty());
    EXPECT_NE(date, rig.context.Text("About", "Nieznana"));
}

TEST(AboutInformation, MachineValuesFromTheController)
{
    CutterRig rig;
    AboutInformation about;
    about.create(rig.context);
    EXPECT_EQ(about.caption, rig.context.Text("About", "Caption"));
    EXPECT_EQ(about.programLine, rig.context.Text("About", "labelprog.caption") + " Kerfline");
    EXPECT_EQ(about.dealer.webAddress, kMakerWebAddress);

    about.activate(rig.context, *rig.protocol, *rig.link);
    EXPECT_EQ(about.prod, "Quorvant");
    EXPECT_EQ(about.model, "Qd 1200");
    EXPECT_EQ(about.obszar, "1200.0x600.0 mm");
    EXPECT_EQ(about.szerokosc, "1000.0 mm");
    EXPECT_TRUE(about.widthRowVisible);
    EXPECT_EQ(about.ARMwersja, "4.2");
    const auto& further = rig.context.machine.furtherValues;
    EXPECT_EQ(about.przebieg, runTimeText(further[0], rig.context.language));
    EXPECT_EQ(about.ilpl, std::to_string(further[1]));
    EXPECT_GT(further[0], 0);

    rig.context.configuration.displayUnit = UnitFoot;
    about.activate(rig.context, *rig.protocol, *rig.link);
    EXPECT_EQ(about.szerokosc, "3.281 ft");
}

TEST(AboutInformation, OtherFamiliesLoseTheWidthRowOnceTheControllerAnswers)
{
    CutterRig rig("KK45");
    AboutInformation about;
    about.create(rig.context);
    rig.cutter.unplug();
    rig.host.runPosted();
    about.activate(rig.context, *rig.protocol, *rig.link);
    const std::string none = rig.context.Text("About", "brakDanych");
    for (const std::string* value : {&about.prod, &about.model, &about.obszar, &about.szerokosc, &about.przebieg,
                                     &about.ilpl, &about.ARMwersja})
        EXPECT_EQ(*value, none);
    EXPECT_TRUE(about.widthRowVisible);  // nothing is known of the machine yet

    rig.cutter.replug();
    rig.host.runPosted();
    about.activate(rig.context, *rig.protocol, *rig.link);
    EXPECT_EQ(about.model, "KK45");
    EXPECT_FALSE(about.widthRowVisible);

    rig.cutter.unplug();
    rig.host.runPosted();
    about.activate(rig.context, *rig.protocol, *rig.link);
    EXPECT_FALSE(about.widthRowVisible);  // it does not come back during the run
}

}  // namespace
}  // namespace kerfline
