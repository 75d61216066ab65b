// EAN-13 numbers of the barcode projects: the check digit, the numbering of new projects and
// which file names count as projects.
#include "aids/barcode_project.h"
#include "aids/ean13.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kerfline {
namespace {

using testing::TempDir;

TEST(Ean13, CheckDigits)
{
    struct Case {
        const char* twelve;
        int check;
    };
    for (const Case c : {Case{"590000000001", 5}, Case{"590000012345", 5}, Case{"400638133393", 1},
                         Case{"978030640615", 7}, Case{"000000000000", 0}, Case{"590999999999", 7}}) {
        SCOPED_TRACE(c.twelve);
        EXPECT_EQ(ean13CheckDigit(c.twelve), c.check);
        EXPECT_TRUE(isValidEan13(std::string(c.twelve) + char('0' + c.check)));
        EXPECT_FALSE(isValidEan13(std::string(c.twelve) + char('0' + (c.check + 1) % 10)));
    }
    for (const char* text : {"", "59000000000", "5900000000015x", "59000000000a5", "590000000001 ", "-590000000001"})
        EXPECT_FALSE(isValidEan13(text)) << text;
}

TEST(Ean13, NumbersFromSerials)
{
    EXPECT_EQ(barcodeNumber(1), "5900000000015");
    EXPECT_EQ(barcodeNumber(12345), "5900000123455");
    EXPECT_EQ(barcodeNumber(kLargestBarcodeSerial), "5909999999997");
    EXPECT_EQ(barcodeNumber(0), std::nullopt);
    EXPECT_EQ(barcodeNumber(kLargestBarcodeSerial + 1), std::nullopt);
}

TEST(Ean13, SymbolHasTheModulesOfTheStandard)
{
    // 4006381333931: a number printed on many goods; its modules as the standard lays them out.
    const std::vector<bool> modules = ean13Modules("4006381333931");
    std::string text;
    for (const bool m : modules)
        text += m ? '1' : '0';
    EXPECT_EQ(text,
              "101" "0001101" "0100111" "0101111" "0111101" "0001001" "0110011" "01010"
              "1000010" "1000010" "1000010" "1110100" "1000010" "1100110" "101");
    EXPECT_FALSE(ean13Symbol("4006381333932")) << "a wrong check digit draws nothing";

    // The drawing covers exactly the dark modules; the guard bars reach below the others.
    const auto symbol = ean13Symbol("4006381333931");
    ASSERT_TRUE(symbol);
    double dark = 0;
    for (const SymbolRect& bar : symbol->bars)
        dark += bar.width;
    EXPECT_EQ(dark, static_cast<double>(std::count(modules.begin(), modules.end(), true)));
    ASSERT_GE(symbol->bars.size(), 3u);
    const auto bottom = [](const SymbolRect& r) { return r.y + r.height; };
    EXPECT_GT(bottom(symbol->bars[0]), bottom(symbol->bars[2])) << "the start guard against the first digit's bar";
    EXPECT_FALSE(symbol->digits.empty());
}

TEST(BarcodeNumbering, OnlyValidNumbersCount)
{
    TempDir dir;
    EXPECT_EQ(newBarcodeNumber(dir.str()), "5900000000015") << "no project files: serial 1";

    dir.write("5900000123455.cod", "");
    // Names that are no project: 13 characters that are not digits, a wrong check digit, a
    // number with another extension, twelve digits.
    dir.write("ABCDEFGHIJKLM.cod", "");
    dir.write("5900009999991.cod", "");
    dir.write("5900099999999.txt", "");
    dir.write("590000999999.cod", "");
    EXPECT_EQ(barcodeNumbers(dir.str()), std::vector<std::string>{"5900000123455"});
    EXPECT_EQ(newBarcodeNumber(dir.str()), "5900000123462");

    dir.write("5909999999997.cod", "");
    EXPECT_EQ(newBarcodeNumber(dir.str()), std::nullopt) << "the serials are used up";
}

}  // namespace
}  // namespace kerfline
