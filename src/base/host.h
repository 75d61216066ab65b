#pragma once

#include <functional>
#include <string>

namespace kerfline {

// Buttons of a question; the numbers are the results the question returns.
enum class Buttons { YesNoCancel, OkCancel, YesNo };
enum AnswerCode : int { AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

// Operator input that arrived while a blocking wait ran; a wait takes one at a time.
enum class PendingInput { None, KeyDown, LeftButtonDown, Other };

// The operator's side of the program. The core reports, asks and yields only through it, so the
// same behaviour runs under Qt, in the command-line tool and in tests.
class Host {
public:
    virtual ~Host() = default;

    virtual void showMessage(const std::string& text, bool isError, const std::string& caption) = 0;
    // Returns one of AnswerCode.
    virtual int ask(const std::string& text, Buttons buttons, const std::string& caption) = 0;
    virtual void setStatus(int panel, const std::string& text) = 0;
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;
    virtual PendingInput takePendingInput() = 0;
    // Lets the windows repaint during a long computation on the UI thread.
    virtual void keepPainting() = 0;
    // Runs the callback on the UI thread, after the current work.
    virtual void post(std::function<void()> callback) = 0;
    // Opens a document or web page with the system's handler for it; false when that failed.
    virtual bool openUrl(const std::string& url) = 0;
};

// Shows the busy cursor for its lifetime.
class BusyCursor {
public:
    explicit BusyCursor(Host& host) : m_host(host) { m_host.beginBusy(); }
    ~BusyCursor() { m_host.endBusy(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Host& m_host;
};

}  // namespace kerfline
