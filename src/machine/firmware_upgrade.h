#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kerfline::machine {

class ControllerProtocol;
class TfUsb;

inline constexpr std::size_t kFirmwareWords = 65537;
// Two version words, then the program words.
inline constexpr std::size_t kFirmwareFileBytes = 2 * (2 + kFirmwareWords);

// The image file for a machine: "ROM/Pr/Kerfline.rom" for the two-wire family, else by the
// controller's major version "ROM/Qd/Kerfline162.rom" (above 1) or "ROM/Qd/Kerfline81.rom".
std::string firmwareImagePath(const std::string& programDirectory, const std::string& familyCode,
                              int controllerMajor);

// Whether Start upgrade may be offered for a controller of this version.
bool upgradeAllowed(int major, int minor);

// Versions compared as the decimal digits of major and minor written one after the other, so
// 1.10 (110) counts as newer than 2.0 (20).
int firmwareVersionNumber(int major, int minor);

// The firmware upgrade (TUpgradeProgramForm without its widgets): replaces the controller's
// program memory with the image delivered with the program, word by word through the command
// and reply channels. A dialog shows the fields and calls the operations.
class FirmwareUpgrade {
public:
    enum Operation { OperationErase = 0, OperationWrite = 1, OperationVerify = 2 };

    FirmwareUpgrade(ControllerProtocol& protocol, TfUsb& link);

    // FormActivate: resets the run, reads the controller's version, finds the image and
    // decides whether Start upgrade is enabled.
    void activate();
    // ButtonUpgradeClick: write, verify, version. True when the dialog is to close (success).
    bool upgrade();

    // The service steps.
    void erase();
    void write(bool fromButton);
    void verify();
    void version();
    void restart();
    // Reads the controller's memory into a file of the image's layout.
    void readProgram(const std::string& path);
    // The blank test: the memory reads as erased.
    bool blankTest();

    // What the dialog shows.
    std::string imagePath;
    std::optional<std::array<std::uint16_t, 2>> imageVersion;
    std::string imageVersionText;   // "major.minor" or "brakPliku"
    int controllerMajor = 0;
    int controllerMinor = 0;
    std::string controllerVersionText;
    bool success = true;
    bool upgradeEnabled = false;
    int progress = 0;               // 0..100
    std::string statusText;
    std::string verifyText;
    std::array<bool, 3> operationsTicked{};

    // Told whenever a shown field changes, so the dialog can repaint during a long step.
    std::function<void()> changed;

private:
    // Reads the image file; shows the ordinary error report and returns nothing on failure.
    std::optional<std::vector<std::uint16_t>> readImage();
    bool imageExists() const;
    void setStatus(const std::string& stepWord);
    void setProgress(std::size_t index);
    void notify();
    bool send(const std::string& command);
    bool enterProgramMemory();

    ControllerProtocol& m_protocol;
    TfUsb& m_link;
};

}  // namespace kerfline::machine
