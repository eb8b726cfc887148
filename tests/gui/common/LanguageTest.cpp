#include "gui/common/Translations.h"

#include <QtCharts>
#include <QtWidgets>

#include <memory>

#include "ManualClock.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "dialup/DialupService.h"
#include "gui/WindowRegistry.h"
#include "gui/alerts/FrmAlert.h"
#include "gui/charts/FrmCharts.h"
#include "gui/common/EngineText.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/SoundPlayer.h"
#include "gui/dialup/FrmDialUp.h"
#include "gui/history/FrmHistory.h"
#include "gui/main/FrmMain.h"
#include "gui/settings/FrmSettings.h"
#include "gui/shell/AboutWindow.h"
#include "gui/shell/FrmSplash.h"
#include "gui/shell/HelpWindow.h"
#include "history/HistoryFilter.h"
#include "meter/Program.h"

using namespace tollix;
using namespace tollix::test;

namespace {

const DateTime kNow = At(2024, 5, 15, 12);

bool HasChinese(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Every text a window shows: titles, captions, items, tool tips, menus,
// tabs, group boxes, grid headers and charts.
QStringList TextsOf(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets << window;
    for (QWidget* w : widgets) {
        texts << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        if (auto* box = qobject_cast<QGroupBox*>(w))
            texts << box->title();
        if (auto* menu = qobject_cast<QMenu*>(w))
            texts << menu->title();
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            texts << edit->text();
        if (auto* browser = qobject_cast<QTextBrowser*>(w))
            texts << browser->toPlainText() << browser->documentTitle();
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        // Rows below the headers are the log's entries and totals, made by the engine.
        if (auto* grid = qobject_cast<QTableWidget*>(w))
            for (int c = 0; c < grid->columnCount(); ++c)
                texts << (grid->item(0, c) ? grid->item(0, c)->text() : QString());
        if (auto* view = qobject_cast<QChartView*>(w)) {
            texts << view->chart()->title();
            for (QAbstractSeries* s : view->chart()->series()) {
                texts << s->name();
                if (auto* bars = qobject_cast<QBarSeries*>(s))
                    for (QBarSet* set : bars->barSets())
                        texts << set->label();
            }
            for (QAbstractAxis* axis : view->chart()->axes())
                if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis))
                    texts << categories->categories();
        }
    }
    for (QAction* a : window->findChildren<QAction*>())
        texts << a->text() << a->toolTip();
    return texts;
}

// The program's windows on the demo line and a data folder of their own.
struct World {
    World()
    {
        program = std::make_unique<Program>(dir.path().toStdString());
        LoadSettings(*program, dialup->Phonebook().Entries, clock.Now());
        // A monthly cost limit, so the charts draw its line and caption.
        program->Alerts.MonthAlert.Check = 1;
        program->Alerts.MonthAlert.AlertStandard = 1;
        windows = std::make_unique<WindowRegistry>(*program, *dialup, clock, sound);
        main = &windows->Main();
        loaded = main->Start();
        Child<QTimer>(main, "tmrSystemtime")->stop();
        Child<QTimer>(main, "tmrStartOnce")->stop();
    }
    ~World()
    {
        windows.reset();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmHelp" || w->objectName() == "frmAbout")
                delete w;
    }

    QTemporaryDir dir;
    ManualClock clock{kNow};
    std::unique_ptr<DialupService> dialup = CreateDialupService(true, clock);
    SoundPlayer sound;
    std::unique_ptr<Program> program;
    std::unique_ptr<WindowRegistry> windows;
    FrmMain* main = nullptr;
    bool loaded = false;
};

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void languageFollowsTheEnvironment()
    {
        struct Row {
            const char *language, *lcAll, *lcMessages, *lang;
            bool english;
        };
        const Row rows[] = {
            {nullptr, nullptr, nullptr, nullptr, false},  // nothing asked: the source language
            {nullptr, nullptr, nullptr, "C", false},
            {"en", nullptr, nullptr, "C.UTF-8", false},  // LANGUAGE is not read under C
            {"en", nullptr, nullptr, "POSIX", false},
            {nullptr, nullptr, nullptr, "en_US.UTF-8", true},
            {nullptr, nullptr, nullptr, "en", true},
            {nullptr, nullptr, nullptr, "de_DE.UTF-8", false},          // no German: Chinese
            {nullptr, nullptr, nullptr, "eng_XX", false},               // not English at all
            {nullptr, "zh_CN.UTF-8", nullptr, "en_US.UTF-8", false},    // LC_ALL before LANG
            {nullptr, nullptr, "en_GB.UTF-8", "zh_CN.UTF-8", true},     // LC_MESSAGES before LANG
            {nullptr, "", "", "en_US.UTF-8", true},                     // empty is unset
            {"de:en_GB:zh_CN", nullptr, nullptr, "zh_CN.UTF-8", true},  // first known in the list
            {"zh_TW:en", nullptr, nullptr, "en_US.UTF-8", false},
            {"fr", nullptr, nullptr, "en_US.UTF-8", false},  // the list replaces the locale
            {"", nullptr, nullptr, "en_US.UTF-8", true},
        };
        auto shown = [](const char* v) { return v ? QString::fromUtf8(v) : QStringLiteral("<unset>"); };
        for (const Row& r : rows)
            QVERIFY2(AsksForEnglish(r.language, r.lcAll, r.lcMessages, r.lang) == r.english,
                qPrintable(QString("LANGUAGE=%1 LC_ALL=%2 LC_MESSAGES=%3 LANG=%4")
                               .arg(shown(r.language), shown(r.lcAll), shown(r.lcMessages), shown(r.lang))));
    }

    void englishWindowsShowNoChinese()
    {
        UseLanguage(true);
        QVERIFY(EnglishInUse());
        World w;
        QVERIFY(w.loaded);
        // Made here rather than through its late module, which only the
        // program itself can load.
        auto chartsWindow = std::make_unique<FrmCharts>(*w.program, w.clock);
        FrmCharts* charts = chartsWindow.get();
        QSignalSpy chartsLoaded(charts, &FrmCharts::loaded);
        charts->Start();
        QVERIFY(chartsLoaded.wait(5000));
        Child<QComboBox>(charts, "cboChartSpan")->setCurrentIndex(1);

        QList<QWidget*> windows{w.main, charts, w.windows->OpenSettings(), w.windows->OpenHistory(),
            w.windows->OpenDial(), w.windows->ShowAlert("alert"), WindowRegistry::ShowAbout(),
            WindowRegistry::ShowHelp()};
        FrmSplash splash(nullptr);
        windows << &splash;

        // What the engine makes and the window shows as it is: the phonebook's
        // names, dates and durations, until the engine speaks English too.
        QStringList engine;
        for (const std::string& name : w.dialup->Phonebook().Entries)
            engine << Q(name);
        for (const UsageRecord& r : w.program->Stats.Records)
            engine << Q(DateText(r.StartDate));
        engine << Q(DurationText(0)) << Q(DateText(At(2024, 1, 1))) << Q(DateText(At(2024, 12, 31)));
        for (const std::string& text : HistoryTotalsRow(SumHistory({})))
            engine << Q(text);

        for (QWidget* window : windows)
            for (QString text : TextsOf(window)) {
                for (const QString& e : engine)
                    if (!e.isEmpty())
                        text.replace(e, QString());
                QVERIFY2(!HasChinese(text), qPrintable(window->objectName() + ": " + text));
            }

        // Message boxes answer with the program's own buttons in English too.
        BoxAnswerer answerer({QMessageBox::Ok});
        AskOkCancel(nullptr, "Tollix", "?");
        QCOMPARE(answerer.seen.value(0).buttons, (QStringList{"OK", "Cancel"}));
    }

    // Back in Chinese, the texts are the source texts again.
    void chineseAfterEnglish()
    {
        UseLanguage(true);
        UseLanguage(false);
        QVERIFY(!EnglishInUse());
        World w;
        QCOMPARE(Child<QMenu>(w.main, "mnuFile")->title(), QStringLiteral("文件(&F)"));
        QCOMPARE(Child<QAction>(w.main, "Toolbar1_1")->toolTip(), QStringLiteral("开始花钱"));
        QVERIFY(WindowRegistry::ShowHelp()->findChild<QTextBrowser*>()->toPlainText().contains("使用帮助"));
    }
};

QTEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
