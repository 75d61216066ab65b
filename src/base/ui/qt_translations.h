#pragma once

#include <string>

namespace kerfline::ui {

// Qt's own texts (file dialogs, standard buttons, key names) in the program's language, from the
// translations installed with Qt. English needs none; a language Qt has no file for stays
// English. Returns whether a translation was installed.
bool installQtTranslations(const std::string& languageCode);

// The locale name Qt's translation files use for a language code of the language files.
std::string qtLocaleFor(const std::string& languageCode);

}  // namespace kerfline::ui
