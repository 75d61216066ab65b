#include "base/scripted_host.h"

#include <cstdio>

namespace kerfline {

void ScriptedHost::showMessage(const std::string& text, bool isError, const std::string& caption)
{
    messages.push_back({text, isError, caption});
    if (echoToStderr)
        std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
}

int ScriptedHost::ask(const std::string& text, Buttons buttons, const std::string& caption)
{
    questions.push_back({text, buttons, caption});
    if (answers.empty())
        return AnswerCancel;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedHost::setStatus(int panel, const std::string& text)
{
    if (panel < 0)
        return;
    if (statusPanels.size() <= static_cast<std::size_t>(panel))
        statusPanels.resize(static_cast<std::size_t>(panel) + 1);
    statusPanels[static_cast<std::size_t>(panel)] = text;
}

PendingInput ScriptedHost::takePendingInput()
{
    if (pendingInputs.empty())
        return PendingInput::None;
    const PendingInput input = pendingInputs.front();
    pendingInputs.pop_front();
    return input;
}

void ScriptedHost::post(std::function<void()> callback)
{
    const std::lock_guard lock(m_postedMutex);
    m_posted.push_back(std::move(callback));
}

void ScriptedHost::runPosted()
{
    for (;;) {
        std::function<void()> callback;
        {
            const std::lock_guard lock(m_postedMutex);
            if (m_posted.empty())
                return;
            callback = std::move(m_posted.front());
            m_posted.pop_front();
        }
        callback();
    }
}

}  // namespace kerfline
