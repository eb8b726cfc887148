#pragma once

#include <QString>

namespace tollix {

// The program speaks Chinese, its source language, unless the user's
// environment asks for English. Both the windows' texts (tollix_en.qm, through
// the application's translator) and the engine's (tollix_engine_en.qm, through
// tollix::Tr) follow the same choice.

// True when the messages language the environment asks for is English, read
// the way gettext reads it: LANGUAGE (a colon list, ignored under the C/POSIX
// locale), else the first set of LC_ALL, LC_MESSAGES and LANG. English is the
// first language asked for that is "en" or "en_*", before any "zh*".
// Arguments are the variables' values, null when unset.
bool AsksForEnglish(const char* language, const char* lcAll, const char* lcMessages, const char* lang);

// Chooses the language from the environment and, for English, loads both
// translations. Call first thing in main(), before any text is made: it needs
// no QCoreApplication, and installs the windows' translator on the application
// as soon as one exists.
void LoadTranslations();

// As LoadTranslations, with the language given (tests). Going back to Chinese
// removes the translators again.
void UseLanguage(bool english);

// English is in use (its translation was found and loaded).
bool EnglishInUse();

}  // namespace tollix
