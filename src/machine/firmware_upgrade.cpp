#include "machine/firmware_upgrade.h"

#include "base/atomic_file.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "base/app_context.h"
#include "machine/machine_state.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kerfline::machine {
namespace {

constexpr int kEraseSteps = 100;
constexpr std::int64_t kEraseStepMs = 150;   // 15 s for the controller to erase
constexpr std::int64_t kRestartMs = 9000;

}  // namespace

std::string firmwareImagePath(const std::string& programDirectory, const std::string& familyCode,
                              int controllerMajor)
{
    if (familyCode == "Pr")
        return programDirectory + "ROM/Pr/Kerfline.rom";
    if (controllerMajor > 1)
        return programDirectory + "ROM/Qd/Kerfline162.rom";
    return programDirectory + "ROM/Qd/Kerfline81.rom";
}

bool upgradeAllowed(int major, int minor)
{
    return major != 0 && minor != 0 && major < 10 && (major != 1 || minor > 1);
}

int firmwareVersionNumber(int major, int minor)
{
    const std::string digits = std::to_string(major) + std::to_string(minor);
    return static_cast<int>(std::stoll(digits.substr(0, 9)));
}

FirmwareUpgrade::FirmwareUpgrade(ControllerProtocol& protocol, TfUsb& link) : m_protocol(protocol), m_link(link) {}

void FirmwareUpgrade::notify()
{
    if (changed)
        changed();
    m_protocol.context().host.keepPainting();
}

void FirmwareUpgrade::setStatus(const std::string& stepWord)
{
    statusText = m_protocol.context().Text("Upgrade_firmware", "TrwaAktualizacja") + ":  " + stepWord;
    notify();
}

void FirmwareUpgrade::setProgress(std::size_t index)
{
    const int value = roundHalfEven(static_cast<double>(index) / 65536.0 * 100.0);
    if (value != progress) {
        progress = value;
        notify();
    }
}

bool FirmwareUpgrade::send(const std::string& command)
{
    const bool sent = m_protocol.SendCommand(command);
    success = success && sent;
    return sent;
}

bool FirmwareUpgrade::enterProgramMemory()
{
    return send(commands::setParameter(ParameterId::MemoryAddress, kProgramMemoryStart));
}

bool FirmwareUpgrade::imageExists() const
{
    std::error_code error;
    return std::filesystem::is_regular_file(imagePath, error);
}

std::optional<std::vector<std::uint16_t>> FirmwareUpgrade::readImage()
{
    std::ifstream in(imagePath, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof())
        bytes.clear();
    if (bytes.size() < kFirmwareFileBytes) {
        AppContext& context = m_protocol.context();
        context.language.ShowMessageBox(
            formatText(context.Text("Universal", "bladOdczytu"), {imagePath, std::to_string(bytes.size())}), true);
        return std::nullopt;
    }
    std::vector<std::uint16_t> words(2 + kFirmwareWords);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<std::uint16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return words;
}

void FirmwareUpgrade::version()
{
    enterProgramMemory();
    m_link.ReadChannel(ChannelVersion);
    controllerMajor = replyField<std::uint8_t>(m_link.replyBuffer(), reply::VersionMajor);
    controllerMinor = replyField<std::uint8_t>(m_link.replyBuffer(), reply::VersionMinor);
    controllerVersionText = std::to_string(controllerMajor) + "." + std::to_string(controllerMinor);
    notify();
}

void FirmwareUpgrade::activate()
{
    AppContext& context = m_protocol.context();
    success = true;
    statusText.clear();
    verifyText.clear();
    operationsTicked = {};
    progress = 0;
    version();

    imagePath = firmwareImagePath(context.programDirectory, context.machine.familyCode, controllerMajor);
    imageVersion.reset();
    if (!imageExists()) {
        imageVersionText = context.Text("Upgrade_firmware", "brakPliku");
        upgradeEnabled = false;
        notify();
        return;
    }
    std::ifstream in(imagePath, std::ios::binary);
    std::uint8_t head[4] = {};
    if (in.read(reinterpret_cast<char*>(head), sizeof head)) {
        imageVersion = std::array<std::uint16_t, 2>{static_cast<std::uint16_t>(head[0] | (head[1] << 8)),
                                                    static_cast<std::uint16_t>(head[2] | (head[3] << 8))};
        imageVersionText = std::to_string((*imageVersion)[0]) + "." + std::to_string((*imageVersion)[1]);
    } else {
        imageVersionText.clear();
    }
    upgradeEnabled = imageVersion.has_value() && success && upgradeAllowed(controllerMajor, controllerMinor);
    notify();
}

bool FirmwareUpgrade::upgrade()
{
    AppContext& context = m_protocol.context();
    upgradeEnabled = false;
    statusText = context.Text("Upgrade_firmware", "TrwaAktualizacja");
    success = true;
    notify();

    if (imageVersion && firmwareVersionNumber((*imageVersion)[0], (*imageVersion)[1]) <
                            firmwareVersionNumber(controllerMajor, controllerMinor)) {
        if (context.language.AskQuestion(context.Text("Upgrade_firmware", "downgrade"), Buttons::YesNoCancel) !=
            AnswerYes) {
            upgradeEnabled = true;
            notify();
            return false;
        }
    }
    if (success)
        write(false);
    if (success)
        verify();
    if (success)
        version();
    if (success) {
        context.language.ShowMessageBox(context.Text("Upgrade_firmware", "aktualizacjaOK1") + "\n\n" +
                                            context.Text("Upgrade_firmware", "aktualizacjaOK2") + "\n" +
                                            context.Text("Upgrade_firmware", "aktualizacjaOK3"),
                                        false);
        return true;
    }
    upgradeEnabled = true;
    notify();
    return false;
}

bool FirmwareUpgrade::blankTest()
{
    enterProgramMemory();
    m_link.ReadChannel(ChannelVersion);
    return replyField<std::uint32_t>(m_link.replyBuffer(), reply::BlankTest) == reply::kBlank;
}

void FirmwareUpgrade::erase()
{
    AppContext& context = m_protocol.context();
    BusyCursor busy(context.host);
    setStatus(context.Text("Upgrade_firmware", "Kasuje"));
    operationsTicked[OperationErase] = true;
    send(commands::eraseProgramMemory());
    for (int step = 1; step <= kEraseSteps; ++step) {
        progress = step;
        notify();
        context.clock.sleepMs(kEraseStepMs);
    }
    verifyText = blankTest() ? context.Text("Upgrade_firmware", "KasowanieOK")
                             : context.Text("Upgrade_firmware", "KasowanieBlad");
    notify();
}

void FirmwareUpgrade::write(bool fromButton)
{
    if (!imageExists())
        return;
    AppContext& context = m_protocol.context();
    BusyCursor busy(context.host);
    // The image is read before anything is erased: a file that cannot be read must not leave
    // the controller without a program.
    const auto image = readImage();
    if (!image) {
        success = false;
        return;
    }
    if (!blankTest())
        erase();
    if (!fromButton && !success)
        return;
    setStatus(context.Text("Upgrade_firmware", "Zapisuje"));
    operationsTicked[OperationWrite] = true;
    verifyText.clear();
    enterProgramMemory();
    for (std::size_t i = 0; i < kFirmwareWords; ++i) {
        // One failed command ends the step: the rest would fail the same way, each with a message.
        if (!send(commands::setParameter(ParameterId::WriteMemoryWord, (*image)[2 + i])))
            return;
        setProgress(i);
    }
}

void FirmwareUpgrade::verify()
{
    if (!imageExists())
        return;
    AppContext& context = m_protocol.context();
    BusyCursor busy(context.host);
    verifyText.clear();
    setStatus(context.Text("Upgrade_firmware", "Weryfikuje"));
    operationsTicked[OperationVerify] = true;
    const auto image = readImage();
    if (!image) {
        success = false;
        return;
    }
    enterProgramMemory();
    for (std::size_t i = 0; i < kFirmwareWords; ++i) {
        m_link.ReadChannel(ChannelVersion);
        setProgress(i);
        if (replyField<std::uint16_t>(m_link.replyBuffer(), reply::MemoryWord) != (*image)[2 + i]) {
            verifyText = context.Text("Upgrade_firmware", "WeryfikacjaBledy");
            success = false;
            notify();
            return;
        }
    }
    verifyText = context.Text("Upgrade_firmware", "WeryfikacjaOk");
    statusText.clear();
    notify();
}

void FirmwareUpgrade::readProgram(const std::string& path)
{
    AppContext& context = m_protocol.context();
    BusyCursor busy(context.host);
    setStatus(context.Text("Upgrade_firmware", "Odczytuje"));
    version();
    std::string bytes;
    bytes.reserve(kFirmwareFileBytes);
    auto put = [&bytes](std::uint16_t word) {
        bytes += static_cast<char>(word & 0xFF);
        bytes += static_cast<char>(word >> 8);
    };
    put(static_cast<std::uint16_t>(controllerMajor));
    put(static_cast<std::uint16_t>(controllerMinor));
    enterProgramMemory();
    for (std::size_t i = 0; i < kFirmwareWords; ++i) {
        m_link.ReadChannel(ChannelVersion);
        put(replyField<std::uint16_t>(m_link.replyBuffer(), reply::MemoryWord));
        setProgress(i);
    }
    if (!writeFileAtomically(path, bytes))
        context.language.ShowMessageBox(context.Text("Universal", "zbioruNieMoznaOtworzyc") + path, true);
}

void FirmwareUpgrade::restart()
{
    AppContext& context = m_protocol.context();
    BusyCursor busy(context.host);
    setStatus(context.Text("Upgrade_firmware", "Restartuje"));
    send(commands::restartController());
    context.clock.sleepMs(kRestartMs);
    statusText = context.Text("Upgrade_firmware", "TrwaAktualizacja");
    notify();
    m_link.DeviceChanged();
    m_link.WriteCommand(commands::identify());
    version();
}

}  // namespace kerfline::machine
