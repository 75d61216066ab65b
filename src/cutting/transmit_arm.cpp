#include "cutting/transmit_arm.h"

#include "designfiles/cut_program_decoder.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "base/app_context.h"
#include "machine/machine_state.h"
#include "cutting/job_state.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <iterator>

namespace kerfline {
namespace {

constexpr const char* kProgramFileName = "out.cn";
constexpr std::array<const char*, 4> kSpinner{"--", "\\", "|", "/"};

}  // namespace

TransmitArm::TransmitArm(AppContext& context, machine::ControllerProtocol& protocol)
    : m_context(context), m_protocol(protocol)
{
}

std::string TransmitArm::programPath() const
{
    return m_context.dataDirectory + kProgramFileName;
}

bool TransmitArm::start()
{
    discard();
    const std::string path = programPath();
    std::ifstream file(path, std::ios::binary);
    std::vector<char> program;
    if (file)
        program.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file || file.bad()) {
        m_context.language.ShowMessageBox(m_context.Text("Universal", "zbioruNieMoznaOtworzyc") + path, true);
        return false;
    }
    // The controller reads commands by the same table: a stray byte, a command cut short or a
    // broken move would shift or garble every following command, so such a program is not sent.
    DecodeSettings settings = DecodeSettings::forMachine(m_context.machine);
    settings.lengths = m_protocol.lengths;
    if (const auto decoded = decodeCutProgram(std::string_view(program.data(), program.size()), settings, path);
        decoded.error) {
        m_context.language.ShowMessageBox(decoded.error->message(m_context.language), true);
        return false;
    }
    m_program = std::move(program);
    m_lengths = m_protocol.lengths;
    m_position = 0;
    m_commandsSent = 0;
    m_commandsAtStart = 0;
    m_unconfirmed = 0;
    m_batches = 0;
    m_bufferFullTicks = 0;
    m_goSent = false;
    m_interval = kSendingIntervalMs;
    m_active = true;
    if (started)
        started();
    return true;
}

void TransmitArm::stop()
{
    if (m_active)
        showStatus(m_context.Text("Transmission", "koniecTransmisji"));
    discard();
}

void TransmitArm::discard()
{
    m_active = false;
    m_interrupted = false;
    m_program.clear();
    m_program.shrink_to_fit();
    m_position = 0;
}

void TransmitArm::interrupt()
{
    m_active = false;
    m_interrupted = true;
    showStatus(m_context.Text("Transmission", "przerwano") + " " + std::to_string(percentSent()) + "%");
}

bool TransmitArm::resume(bool programEnded)
{
    if (!m_interrupted)
        return false;
    m_interrupted = false;
    if (programEnded && m_goSent) {
        m_goSent = false;
        m_commandsAtStart = m_commandsSent;
    }
    m_interval = kSendingIntervalMs;
    m_active = true;
    if (started)
        started();
    return true;
}

int TransmitArm::Timer1Timer()
{
    if (!m_active)
        return m_interval;
    // A whole program ends here once it has been started; one whose start was not written yet
    // goes on to write it.
    if (atEnd() && m_commandsSent == 0) {
        stop();
        return m_interval;
    }
    if (!m_protocol.ReadStatus()) {
        interrupt();
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
        return m_interval;
    }
    const MachineState& s = m_context.machine;
    // Commands written before the controller was last seen running or holding a pause are in
    // its buffer ahead of its end. A controller found idle while later ones were written, or
    // while more are to come, ran out of program before they arrived: it is started again.
    if (s.programRunning() || s.paused() || s.waitingForGo())
        m_unconfirmed = 0;
    const bool ranDry = m_goSent && !s.programRunning() && !s.paused() && !s.waitingForGo();
    if (atEnd() && m_goSent) {
        if (ranDry && m_unconfirmed > 0 && !sendGo())
            return m_interval;
        stop();
        return m_interval;
    }
    if (m_context.machine.bufferFull()) {
        ++m_bufferFullTicks;
        m_interval = kBufferFullIntervalMs;
        showProgress(false);
        return m_interval;
    }
    sendBatch();
    if (!m_active)
        return m_interval;
    if (ranDry && !sendGo())
        return m_interval;
    m_spinner = (m_spinner + 1) % static_cast<int>(kSpinner.size());
    showProgress(true);
    m_interval = kSendingIntervalMs;
    return m_interval;
}

void TransmitArm::sendBatch()
{
    m_interval = kBatchIntervalMs;
    ++m_batches;
    // A start that an interruption kept from the controller goes first.
    if (!startIfDue())
        return;
    for (int batchCount = 0; batchCount < kBatchSize && !atEnd(); ++batchCount) {
        const char letter = m_program[m_position];
        const auto length = static_cast<std::size_t>(m_lengths.lengthOf(letter));
        const std::string command(m_program.data() + m_position, length);
        // The link has written a refused report again already; a command it gave up on stops the
        // transmission here, since every later command would run without it.
        if (!m_protocol.SendCommand(command)) {
            interrupt();
            return;
        }
        m_position += length;
        ++m_commandsSent;
        ++m_unconfirmed;
        if (!startIfDue())
            return;
    }
}

bool TransmitArm::startIfDue()
{
    // A program shorter than the start threshold is started once all of it is there.
    if (m_goSent || (m_commandsSent - m_commandsAtStart < kCommandsBeforeGo && !atEnd()))
        return true;
    if (!sendGo())
        return false;
    m_goSent = true;
    m_context.job.jobActive = true;
    return true;
}

// Whatever was written before "G" is in the buffer when the program starts.
bool TransmitArm::sendGo()
{
    if (!m_protocol.SendCommand(machine::commands::go())) {
        interrupt();
        return false;
    }
    m_unconfirmed = 0;
    return true;
}

std::optional<int> TransmitArm::speedSetInForce() const
{
    std::optional<int> set;
    for (std::size_t at = 0; at + 1 < m_position;) {
        if (std::tolower(static_cast<unsigned char>(m_program[at])) == 'f')
            set = static_cast<std::uint8_t>(m_program[at + 1]);
        at += static_cast<std::size_t>(std::max(1, m_lengths.lengthOf(m_program[at])));
    }
    return set;
}

std::int64_t TransmitArm::percentSent() const
{
    const std::size_t size = m_program.size();
    return size == 0 ? 100 : roundHalfEven<std::int64_t>(static_cast<double>(m_position) * 100.0 / static_cast<double>(size));
}

// A broken wire's alarm stays in the status bar while the rest of the program waits.
void TransmitArm::showProgress(bool withSpinner)
{
    if (!m_context.machine.wireBreak())
        showStatus(progressText(withSpinner));
}

std::string TransmitArm::progressText(bool withSpinner) const
{
    std::string text = m_context.Text("Transmission", "przeslano") + " " + std::to_string(percentSent()) + "% ";
    if (withSpinner)
        text += kSpinner[static_cast<std::size_t>(m_spinner)];
    return text;
}

void TransmitArm::showStatus(std::string text)
{
    if (text.size() > kStatusTextLimit)
        text.resize(kStatusTextLimit);
    m_statusText = text;
    m_context.host.setStatus(0, m_statusText);
}

}  // namespace kerfline
