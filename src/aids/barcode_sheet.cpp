#include "aids/barcode_sheet.h"

#include "aids/barcode_project.h"
#include "base/language.h"

#include <algorithm>
#include <filesystem>

namespace kerfline {

BarcodeSheet barcodeSheet(const std::string& number, const DefaultLabelLines& defaults,
                          const OperatorLabelLines& operatorLines, const std::vector<std::string>& designs,
                          const tInterfejs& language)
{
    constexpr std::size_t kShownDesigns = 4;
    BarcodeSheet sheet;
    sheet.pKodKreskowy = number;
    sheet.pTryb = defaults[0];
    sheet.pSzybkosc = defaults[1];
    sheet.pMoc = defaults[2];
    sheet.pCzasRozgrz = defaults[3];
    sheet.pPauza = defaults[4];
    sheet.pEtykieta = operatorLines;
    sheet.projects.assign(designs.begin(), designs.begin() + static_cast<std::ptrdiff_t>(std::min(kShownDesigns, designs.size())));
    if (designs.size() > kShownDesigns)
        sheet.pIloscProjektow =
            formatText(language.Text("Barcode_projects", "pokazaneProjekty"), {std::to_string(designs.size())});
    return sheet;
}

bool deleteBarcodeProject(const std::string& dataDirectory, const std::string& number, const tInterfejs& language)
{
    const std::string path = barcodeProjectPath(dataDirectory, number);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        language.ShowMessageBox(language.Text("Universal", "BrakPlikuDoUsuniecia"), true);
        return false;
    }
    if (!std::filesystem::remove(path, error)) {
        language.ShowMessageBox(language.Text("Universal", "BladUsuwaniaPliku") + "\r\n\r\n" +
                                    language.Text("Universal", "SzczegolyBledu") + " " + error.message(),
                                true);
        return false;
    }
    return true;
}

}  // namespace kerfline
