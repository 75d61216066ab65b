#include "shell/app_context.h"

#include "base/directories.h"

#include <clocale>

namespace kerfline {

struct AppContext::Parts {
    explicit Parts(const CommandLine& commandLine) : configuration(machine, commandLine) {}
    MachineState machine;
    Configuration configuration;
    JobState job;
};

AppContext::AppContext(Host& host, Clock& clock, CommandLine commandLine)
    : host(host), clock(clock), commandLine(std::move(commandLine)), language(host),
      m_parts(std::make_unique<Parts>(this->commandLine)), machine(m_parts->machine),
      configuration(m_parts->configuration), job(m_parts->job), motionSettings(m_parts->configuration)
{
}

AppContext::~AppContext() = default;

AppContext::operator WriterSettings() const
{
    return {configuration, machine, commandLine};
}

std::string dealerEditionFor(const CommandLine& commandLine, bool dealerTalmor)
{
    if (dealerTalmor)
        return "TALMOR";
    std::string dealer;
    for (const std::string& p : commandLine.parameters())
        if (p.size() > 2 && equalsIgnoringCase(std::string_view(p).substr(0, 2), "D:"))
            dealer = toUpperAscii(std::string_view(p).substr(2));
    return dealer;
}

char adoptEnvironmentLocale()
{
    std::setlocale(LC_ALL, "");
    const lconv* conventions = std::localeconv();
    const char separator =
        (conventions != nullptr && conventions->decimal_point != nullptr && conventions->decimal_point[0] != '\0')
            ? conventions->decimal_point[0]
            : '.';
    std::setlocale(LC_NUMERIC, "C");
    return separator;
}

bool startShell(AppContext& context, const std::function<const char*(const char*)>& getenv)
{
    if (context.programDirectory.empty())
        context.programDirectory = programDirectoryOfExecutable();

    const LanguageChoice choice = chooseLanguage(countryCodeFromLocale(getenv), context.commandLine);
    context.language.load(context.programDirectory, choice);

    context.dataDirectory = dataDirectoryFor(context.commandLine, getenv);
    if (context.language.loaded() && !ensureDirectory(context.dataDirectory)) {
        context.language.ShowMessageBox(
            context.Text("Universal", "nieMoznaUtworzycKatalogu") + "\n\r" + context.dataDirectory, true);
        return false;
    }
    if (!context.language.loaded())
        return false;
    context.dealerEdition = dealerEditionFor(context.commandLine, context.language.dealerTalmor());
    return true;
}

}  // namespace kerfline
