#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kerfline {

class Configuration;
class tInterfejs;

// What the barcode commands need of the main window.
class BarcodeProjectWindows {
public:
    virtual ~BarcodeProjectWindows() = default;
    // The design path of each project window, in window order.
    virtual std::vector<std::string> designPaths() = 0;
    virtual void CloseAll() = 0;
    // Opens a design as the main window's Open does, remembering its directory.
    virtual void Open(const std::string& fileName) = 0;
    virtual void tile() = 0;
};

// The few parts of the program the barcode commands use.
struct BarcodeContext {
    Configuration& configuration;
    const tInterfejs& language;
    std::string dataDirectory;
    char decimalSeparator = '.';
};

// Opens the project stored under the number: loads its configuration file and opens its
// designs in place of the project windows. A number without a project file, or one that is
// no valid EAN-13 number, does nothing: the windows stay. True when a configuration was loaded.
bool OpenBarcodeProject(const std::string& number, BarcodeContext& context, BarcodeProjectWindows& windows);

struct StoredBarcode {
    std::string number;
    std::string path;
    bool completeLabel = false;  // the operator wants the browser on the new number
};
// Stores the configuration file and the project windows' designs under a new number and asks
// whether to complete the label. Nothing when nothing was stored (the message was shown).
std::optional<StoredBarcode> StoreCurrentState(BarcodeContext& context, BarcodeProjectWindows& windows);

}  // namespace kerfline
