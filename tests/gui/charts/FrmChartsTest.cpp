#include "gui/charts/FrmCharts.h"
#include "WindowTestSupport.h"
#include "history/UsageArchive.h"

#include <QtCharts>
#include <QtWidgets>

#include <numeric>

using namespace tollix;
using namespace tollix::test;

namespace {

// Wednesday 15 May 2024, noon; statistics months start on the 1st.
const DateTime kNow = At(2024, 5, 15, 12);

QList<double> Values(const FrmCharts& window, const char* chart, const char* series)
{
    QList<double> values;
    for (QAbstractSeries* s : window.findChild<QChartView*>(chart)->chart()->series()) {
        if (auto* bars = qobject_cast<QBarSeries*>(s); bars && series == std::string_view("bars"))
            for (int i = 0; i < bars->barSets().at(0)->count(); ++i)
                values << bars->barSets().at(0)->at(i);
        if (auto* line = qobject_cast<QLineSeries*>(s); line && line->objectName() == series)
            values << line->at(0).y();
    }
    return values;
}

double Sum(const QList<double>& values)
{
    return std::accumulate(values.begin(), values.end(), 0.0);
}

}  // namespace

class FrmChartsTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsTheArchiveSummedPerDayAndMonthWithLimitsAndForecast()
    {
        ProgramWorld w(kNow, "", {"Home", "Work"});
        Program& program = *w.program;
        program.Alerts.DayAlert = AlertSetting{1, 3, 0, 5, "", 1, Money::FromYuan(20)};  // cost
        program.Alerts.MonthAlert = AlertSetting{1, 50, 0, 5, "", 0, {}};                // time
        {
            auto archive = UsageArchive::OpenForWriting(program.DataFolder).Archive;
            QVERIFY(archive);
            for (auto [name, start, seconds, feeRaw] :
                {std::tuple{"Home", At(2024, 5, 3, 8), 5400, 35000},
                    {"Work", At(2024, 5, 10, 9), 7200, 40000}, {"Home", At(2023, 12, 31, 23), 3600, 10000}}) {
                ArchivedConnection c;
                c.SessionKey = name + GeneralDateText(start);
                c.ConnectionName = name;
                c.Start = start;
                c.Seconds = seconds;
                c.NetFee = Money::FromRaw(feeRaw);
                QVERIFY(archive->Store(c));
            }
        }
        FrmCharts window(program, w.clock);
        QSignalSpy loaded(&window, &FrmCharts::loaded);
        window.show();
        window.Start();
        QVERIFY(loaded.wait(10000));

        // May by day: 31 bars; how connections are summed is the usage report's to pin.
        const QList<double> hours = Values(window, "chartTime", "bars");
        QCOMPARE(hours.size(), 31);
        QCOMPARE(Sum(hours), 3.5);
        QCOMPARE(Sum(Values(window, "chartCost", "bars")), 7.5);
        QCOMPARE(Values(window, "chartCost", "limitDay"), QList<double>{20});
        QVERIFY(Values(window, "chartTime", "limitMonth").isEmpty());
        // 7.5 yuan and 3.5 hours in 15 of 31 days.
        QCOMPARE(window.findChild<QLabel*>("lblForecast")->text(),
            "按目前的速度，本月预计 用时7小时14分，费用15.5元");

        window.findChild<QComboBox*>("cboChartConnection")->setCurrentText("Work");
        QCOMPARE(Sum(Values(window, "chartTime", "bars")), 2.0);

        // 2024 by month, every connection: not the year before.
        window.findChild<QComboBox*>("cboChartConnection")->setCurrentIndex(0);
        window.findChild<QComboBox*>("cboChartSpan")->setCurrentIndex(FrmCharts::MonthsOfYear);
        const QList<double> months = Values(window, "chartCost", "bars");
        QCOMPARE(months.size(), 12);
        QCOMPARE(Sum(months), 7.5);
        QCOMPARE(Values(window, "chartTime", "limitMonth"), QList<double>{50});
        QVERIFY(Values(window, "chartCost", "limitDay").isEmpty());
        window.findChild<QPushButton*>("cmdPrevious")->click();  // 2023 is read anew
        QVERIFY(loaded.wait(10000));
        QCOMPARE(Sum(Values(window, "chartTime", "bars")), 1.0);
    }
};

QTEST_MAIN(FrmChartsTest)
#include "FrmChartsTest.moc"
