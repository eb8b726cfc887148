#include "gui/common/Translations.h"

#include <QtCharts>
#include <QtWidgets>

#include "WindowTestSupport.h"
#include "gui/alerts/FrmAlert.h"
#include "gui/charts/FrmCharts.h"
#include "gui/common/EngineText.h"
#include "gui/common/MessageBoxes.h"
#include "gui/dialup/FrmDialUp.h"
#include "gui/history/FrmHistory.h"
#include "gui/settings/FrmSettings.h"
#include "gui/shell/AboutWindow.h"
#include "gui/shell/FrmSplash.h"
#include "gui/shell/HelpWindow.h"
#include "history/HistoryFilter.h"

using namespace tollix;
using namespace tollix::test;

namespace {
// Every text a window shows, found without knowing its controls: each text
// property of the window, its controls, actions and charts, the tab captions,
// and every cell of its lists and grids.
QStringList TextsOf(QWidget* window)
{
    QList<QObject*> objects = window->findChildren<QObject*>();
    objects << window;
    for (QChartView* view : window->findChildren<QChartView*>())
        objects << view->chart() << view->chart()->findChildren<QObject*>();
    QStringList texts;
    for (QObject* o : objects) {
        for (int i = 0; i < o->metaObject()->propertyCount(); ++i) {
            const QVariant value = o->metaObject()->property(i).read(o);
            if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QStringList)
                texts << value.toStringList();
        }
        if (auto* tabs = qobject_cast<QTabBar*>(o))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        if (auto* model = qobject_cast<QAbstractItemModel*>(o))
            for (int row = 0; row < model->rowCount(); ++row)
                for (int column = 0; column < model->columnCount(); ++column)
                    texts << model->index(row, column).data().toString();
    }
    return texts;
}
}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void languageFollowsTheEnvironment()
    {
        const struct {
            const char *language, *lcAll, *lcMessages, *lang;
            bool english;
        } rows[] = {
            {nullptr, nullptr, nullptr, nullptr, false},                // nothing asked: the source language
            {"en", nullptr, nullptr, "C.UTF-8", false},                 // LANGUAGE is not read under C
            {nullptr, nullptr, nullptr, "eng_XX", false},               // not English at all
            {nullptr, "zh_CN.UTF-8", nullptr, "en_US.UTF-8", false},    // LC_ALL before LANG
            {nullptr, nullptr, "en_GB.UTF-8", "zh_CN.UTF-8", true},     // LC_MESSAGES before LANG
            {"", "", "", "en_US.UTF-8", true},                          // empty is unset
            {"de:en_GB:zh_CN", nullptr, nullptr, "zh_CN.UTF-8", true},  // first known in the list
            {"zh_TW:en", nullptr, nullptr, "en_US.UTF-8", false},
            {"fr", nullptr, nullptr, "en_US.UTF-8", false},  // the list replaces the locale
        };
        for (const auto& r : rows)
            QVERIFY2(AsksForEnglish(r.language, r.lcAll, r.lcMessages, r.lang) == r.english,
                qPrintable(QString("row %1").arg(&r - rows)));
    }

    void englishWindowsShowNoChinese()
    {
        UseLanguage(true);
        // A monthly cost limit, so the charts draw its line and caption.
        ProgramWorld w(At(2024, 5, 15, 12), "[Alert Setting]\r\nMonthCheck=1\r\nMonth AlertStandard=1\r\n");
        w.Start();
        // Made here rather than through its late module, which only the
        // program itself can load.
        FrmCharts charts(*w.program, w.clock);
        QSignalSpy chartsLoaded(&charts, &FrmCharts::loaded);
        charts.Start();
        QVERIFY(chartsLoaded.wait(5000));
        Child<QComboBox>(&charts, "cboChartSpan")->setCurrentIndex(1);

        FrmSplash splash(nullptr);
        QList<QWidget*> windows{w.main, &charts, &splash, w.windows->OpenSettings(), w.windows->OpenHistory(),
            w.windows->OpenDial(), w.windows->ShowAlert("alert"), WindowRegistry::ShowAbout(),
            WindowRegistry::ShowHelp()};

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

        const QRegularExpression chinese(R"([\x{4E00}-\x{9FFF}\x{3000}-\x{303F}\x{FF00}-\x{FFEF}])");
        for (QWidget* window : windows) {
            for (QString text : TextsOf(window)) {
                for (const QString& e : engine)
                    if (!e.isEmpty())
                        text.replace(e, QString());
                QVERIFY2(!text.contains(chinese), qPrintable(window->objectName() + ": " + text));
            }
        }

        // Message boxes answer with the program's own buttons in English too.
        BoxAnswerer answerer({QMessageBox::Ok});
        AskOkCancel(nullptr, "Tollix", "?");
        QCOMPARE(answerer.seen.value(0).buttons, (QStringList{"OK", "Cancel"}));
        delete WindowRegistry::ShowAbout();
        delete WindowRegistry::ShowHelp();
    }
};

QTEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
