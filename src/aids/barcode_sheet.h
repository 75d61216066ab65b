#pragma once

#include "aids/barcode_label.h"

#include <string>
#include <vector>

namespace kerfline {

class tInterfejs;

// The A4 summary of a barcode project: the values its report layout prints.
struct BarcodeSheet {
    std::string pKodKreskowy;
    std::string pTryb, pSzybkosc, pMoc, pCzasRozgrz, pPauza;  // the default label lines
    OperatorLabelLines pEtykieta;
    std::vector<std::string> projects;  // the first four designs
    std::string pIloscProjektow;        // empty for up to four designs, else how many are shown
};

BarcodeSheet barcodeSheet(const std::string& number, const DefaultLabelLines& defaults,
                          const OperatorLabelLines& operatorLines, const std::vector<std::string>& designs,
                          const tInterfejs& language);

// Deletes a project file, telling the operator when it is missing or cannot be deleted.
bool deleteBarcodeProject(const std::string& dataDirectory, const std::string& number, const tInterfejs& language);

}  // namespace kerfline
