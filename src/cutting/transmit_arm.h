#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "machine/command_encoding.h"

namespace kerfline {
struct AppContext;
}  // namespace kerfline

namespace kerfline::machine {
class ControllerProtocol;
}  // namespace kerfline::machine

namespace kerfline {

// The transmission of the cut program: feeds "out.cn" of the data directory to the controller in
// batches from a timer while the operator goes on working. The controller has no acknowledgement
// per command; flow control rests on its bufferFull flag, read once per tick.
//
// The timer itself belongs to whoever drives the class (a QTimer, or a loop over a simulated
// clock): it calls Timer1Timer() while active() and waits the returned interval in between.
class TransmitArm {
public:
    static constexpr int kBatchSize = 100;
    // The controller starts the program once this many commands are in its buffer.
    static constexpr std::uint64_t kCommandsBeforeGo = 17;
    static constexpr int kSendingIntervalMs = 1;
    static constexpr int kBatchIntervalMs = 1000;
    static constexpr int kBufferFullIntervalMs = 50;
    static constexpr std::size_t kStatusTextLimit = 255;

    TransmitArm(AppContext& context, machine::ControllerProtocol& protocol);
    TransmitArm(const TransmitArm&) = delete;
    TransmitArm& operator=(const TransmitArm&) = delete;

    // Takes "out.cn" of the data directory and enables the timer. A file that cannot be read,
    // or that is not a whole sequence of program commands, is reported and nothing is sent.
    // An interrupted transmission is given up.
    bool start();
    // Ends the transmission: a running one with "koniecTransmisji" in the status bar, an
    // interrupted one silently; nothing when idle.
    void stop();
    // The controller could not be reached while commands were left: the timer is off and the
    // transmission keeps its place at the first command that was not written.
    bool interrupted() const { return m_interrupted; }
    // Goes on with an interrupted transmission from the first command not written and enables
    // the timer as start() does; false when nothing was interrupted. When the controller ran out
    // of program meanwhile (`programEnded`), what follows is started anew with "G" as a program
    // is started.
    bool resume(bool programEnded = false);
    // The speed set the program last selected before the first command not written, if any.
    std::optional<int> speedSetInForce() const;
    // One tick of the timer; returns the interval the timer should wait before the next one.
    int Timer1Timer();
    int tick() { return Timer1Timer(); }

    bool active() const { return m_active; }
    int interval() const { return m_interval; }
    // Commands written to the controller since start.
    std::uint64_t commandsSent() const { return m_commandsSent; }
    // Batches sent since start, for reports of a whole job.
    std::uint64_t batchesSent() const { return m_batches; }
    // Ticks that found the controller's buffer full since start.
    std::uint64_t bufferFullTicks() const { return m_bufferFullTicks; }
    bool goSent() const { return m_goSent; }
    const std::string& statusText() const { return m_statusText; }
    std::string programPath() const;

    // Told when start() or resume() has enabled the timer, so its driver can begin ticking.
    std::function<void()> started;

private:
    bool atEnd() const { return m_position >= m_program.size(); }
    void sendBatch();
    // Starts the program once enough of it is in the controller's buffer, or all of it.
    bool startIfDue();
    // Sends "G"; a failure interrupts the transmission.
    bool sendGo();
    void interrupt();
    void discard();
    // Bytes of the program written so far, in percent.
    std::int64_t percentSent() const;
    std::string progressText(bool withSpinner) const;
    void showProgress(bool withSpinner);
    void showStatus(std::string text);

    AppContext& m_context;
    machine::ControllerProtocol& m_protocol;
    bool m_active = false;
    bool m_interrupted = false;
    int m_interval = kSendingIntervalMs;
    // The program as taken at start; the position is the number of bytes read so far.
    std::vector<char> m_program;
    std::size_t m_position = 0;
    // The table the program was checked with at start: it cuts the program until the end.
    machine::CommandLengthTable m_lengths;
    std::uint64_t m_commandsSent = 0;
    // Commands written when the program was last (re)started: "G" follows kCommandsBeforeGo later.
    std::uint64_t m_commandsAtStart = 0;
    // Commands written since the controller was last seen with a program in hand.
    std::uint64_t m_unconfirmed = 0;
    std::uint64_t m_batches = 0;
    std::uint64_t m_bufferFullTicks = 0;
    bool m_goSent = false;
    int m_spinner = 0;
    std::string m_statusText;
};

}  // namespace kerfline
