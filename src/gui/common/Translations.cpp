#include "gui/common/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/Translation.h"

namespace tollix {

namespace {

// Made once and never destroyed: the engine may look a text up until the very
// end of the process, after any application object is gone.
QTranslator& WindowTranslator()
{
    static auto* translator = new QTranslator;
    return *translator;
}

QTranslator& EngineTranslator()
{
    static auto* translator = new QTranslator;
    return *translator;
}

bool englishInUse = false;

// The language of one locale or LANGUAGE entry: "en_GB.UTF-8@euro" is "en".
std::string_view LanguageOf(std::string_view entry)
{
    return entry.substr(0, entry.find_first_of("_.@"));
}

bool IsCLocale(std::string_view locale)
{
    return locale.empty() || locale == "POSIX" || LanguageOf(locale) == "C";
}

// The translations are looked for next to the program, then where they are
// installed, then in the build tree (tests run from their own folders). No
// QCoreApplication exists yet, so the program's folder comes from /proc.
QString FindTranslation(const QString& fileName)
{
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QStringList folders{QFileInfo(program).absolutePath() + QStringLiteral("/translations"),
        QStringLiteral(TOLLIX_SHARE_DIR "/translations"), QStringLiteral(TOLLIX_BUILD_TRANSLATIONS_DIR)};
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

// The engine's texts are their own ids (the Chinese original); an empty answer
// makes Tr() keep the original.
std::string TranslateEngineText(const char* text)
{
    return EngineTranslator().translate(nullptr, text).toStdString();
}

void InstallWindowTranslator()
{
    if (englishInUse)
        QCoreApplication::installTranslator(&WindowTranslator());
}

}  // namespace

// Runs when the application object is made, or at once when it exists.
Q_COREAPP_STARTUP_FUNCTION(InstallWindowTranslator)

bool AsksForEnglish(const char* language, const char* lcAll, const char* lcMessages, const char* lang)
{
    auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
    const char* locale = set(lcAll) ? lcAll : set(lcMessages) ? lcMessages : set(lang) ? lang : "";
    // As with gettext: under the C locale LANGUAGE is not looked at.
    std::string_view asked = set(language) && !IsCLocale(locale) ? language : locale;
    while (!asked.empty()) {
        const size_t end = asked.find(':');
        const std::string_view name = LanguageOf(asked.substr(0, end));
        if (name == "en")
            return true;
        if (name.starts_with("zh"))
            return false;
        asked = end == std::string_view::npos ? std::string_view() : asked.substr(end + 1);
    }
    return false;
}

void UseLanguage(bool english)
{
    QTranslator& windows = WindowTranslator();
    QTranslator& engine = EngineTranslator();
    if (QCoreApplication::instance())
        QCoreApplication::removeTranslator(&windows);
    SetTextTranslator(nullptr);
    englishInUse = false;
    if (!english)
        return;
    const QString windowFile = FindTranslation(QStringLiteral("tollix_en.qm"));
    if (windowFile.isEmpty() || !windows.load(windowFile)) {
        std::fputs("Tollix: the English translation (tollix_en.qm) is missing; showing Chinese.\n", stderr);
        return;
    }
    englishInUse = true;
    const QString engineFile = FindTranslation(QStringLiteral("tollix_engine_en.qm"));
    if (!engineFile.isEmpty() && engine.load(engineFile))
        SetTextTranslator(&TranslateEngineText);
    if (QCoreApplication::instance())
        InstallWindowTranslator();
}

void LoadTranslations()
{
    UseLanguage(AsksForEnglish(
        std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
}

bool EnglishInUse()
{
    return englishInUse;
}

}  // namespace tollix
