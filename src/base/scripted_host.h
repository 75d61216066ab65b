#pragma once

#include "base/host.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace kerfline {

// A Host without windows: records what the program shows, answers questions from a queue and
// hands out queued operator input. Tests use it; so does the command-line tool, where messages
// go to stderr as well.
class ScriptedHost : public Host {
public:
    struct Message {
        std::string text;
        bool isError = false;
        std::string caption;
    };
    struct Question {
        std::string text;
        Buttons buttons = Buttons::OkCancel;
        std::string caption;
    };

    void showMessage(const std::string& text, bool isError, const std::string& caption) override;
    int ask(const std::string& text, Buttons buttons, const std::string& caption) override;
    void setStatus(int panel, const std::string& text) override;
    void beginBusy() override { ++busyDepth; }
    void endBusy() override { --busyDepth; }
    PendingInput takePendingInput() override;
    void keepPainting() override { ++paintRequests; }
    // Worker threads post their completions, so posting is safe from any thread.
    void post(std::function<void()> callback) override;
    bool openUrl(const std::string& url) override
    {
        openedUrls.push_back(url);
        return openUrlSucceeds;
    }

    // Runs the posted callbacks in order, including those they post.
    void runPosted();

    std::vector<Message> messages;
    std::vector<Question> questions;
    std::deque<int> answers;  // an empty queue answers Cancel
    std::deque<PendingInput> pendingInputs;
    std::vector<std::string> statusPanels;
    int busyDepth = 0;
    int paintRequests = 0;
    bool echoToStderr = false;
    std::vector<std::string> openedUrls;
    bool openUrlSucceeds = true;

private:
    std::mutex m_postedMutex;
    std::deque<std::function<void()>> m_posted;
};

}  // namespace kerfline
