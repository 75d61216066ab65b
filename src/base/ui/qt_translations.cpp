#include "base/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cctype>

namespace kerfline::ui {

std::string qtLocaleFor(const std::string& languageCode)
{
    std::string locale = languageCode;
    std::transform(locale.begin(), locale.end(), locale.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // The language files name English by its country.
    if (locale == "us" || locale == "gb" || locale == "uk")
        return "en";
    return locale;
}

bool installQtTranslations(const std::string& languageCode)
{
    // One translator at a time: a new choice replaces the one before.
    static QTranslator* translator = nullptr;
    if (translator != nullptr) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    const std::string locale = qtLocaleFor(languageCode);
    if (locale.empty() || locale == "en" || QCoreApplication::instance() == nullptr)
        return false;
    translator = new QTranslator(QCoreApplication::instance());
    // "qt_xx" pulls in qtbase and the other modules' files.
    if (!translator->load(QLocale(QString::fromStdString(locale)), QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        translator = nullptr;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace kerfline::ui
