#pragma once

#include "base/clock.h"
#include "base/host.h"

#include <QObject>

#include <deque>
#include <functional>

class QMessageBox;
class QWidget;

namespace kerfline::ui {

// The Host of the desktop program. Operator input that arrives while the core waits is recorded
// by an application event filter and handed out one press at a time; it never reaches a widget.
class QtHost : public QObject, public Host {
    Q_OBJECT
public:
    QtHost();
    ~QtHost() override;

    void setWindow(QWidget* window) { m_window = window; }
    void setStatusSink(std::function<void(int, const std::string&)> sink) { m_statusSink = std::move(sink); }

    void showMessage(const std::string& text, bool isError, const std::string& caption) override;
    int ask(const std::string& text, Buttons buttons, const std::string& caption) override;
    void setStatus(int panel, const std::string& text) override;
    void beginBusy() override;
    void endBusy() override;
    PendingInput takePendingInput() override;
    void keepPainting() override;
    void post(std::function<void()> callback) override;
    bool openUrl(const std::string& url) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window = nullptr;
    std::function<void(int, const std::string&)> m_statusSink;
    std::deque<PendingInput> m_inputs;
    bool m_recording = false;
    int m_overriddenKey = 0;  // the key whose press the shortcut check already recorded
};

// Makes a message box wide enough for its caption to show whole in the title bar.
void widenForCaption(QMessageBox& box);

// Real time; sleeping keeps the windows painting but delivers no operator input.
class QtClock : public Clock {
public:
    std::int64_t nowMs() override;
    void sleepMs(std::int64_t ms) override;
};

}  // namespace kerfline::ui
