#pragma once

#include <QFutureWatcher>
#include <QMainWindow>
#include <optional>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "history/ArchivedConnection.h"
#include "history/UsageReport.h"

class QChart;
class QComboBox;
class QLabel;
class QPushButton;

namespace tollix {

class Clock;
struct Program;

// The usage charts: connected time and cost as bars, per day of a statistics
// month or per statistics month of a year, for every connection or one; the
// alert limits that apply to such a bar as lines, and the current month's
// forecast at today's pace. The archive is read a statistics year at a time
// on a worker thread; changing the view within that year only regroups.
//
// object name          member
// frmCharts            this
// cboChartSpan         span_
// cboChartConnection   connection_
// cmdPrevious, cmdNext previous_, next_
// lblChartPeriod       periodText_
// chartTime, chartCost timeChart_, costChart_ (the views hold the same names)
// barsTime, barsCost   the bar sets of the two charts
// limit lines          named after the alert: limitDay, limitWeek, limitMonth
// lblForecast          forecast_
// lblChartState        state_
class FrmCharts : public QMainWindow {
    Q_OBJECT
public:
    enum Span { DaysOfMonth = 0, MonthsOfYear = 1 };

    FrmCharts(Program& program, const Clock& clock, QWidget* parent = nullptr);
    ~FrmCharts() override;

    // Reads the archive again (on a worker thread) and shows the period that
    // holds today. Invokable: the program opens this window from a late module
    // and knows it only as a widget.
    Q_INVOKABLE void Start();
    bool Loading() const { return loading_; }

signals:
    // The archive has been read (or could not be) and the charts drawn.
    void loaded();

private:
    struct ReadResult {
        ReportRange Range;
        std::optional<std::vector<ArchivedConnection>> Connections;
        std::string Error;
    };

    void BuildWindow();
    // Reads the connections of one statistics year on a worker thread.
    void Load(const ReportRange& year);
    void OnRead();
    void Redraw();
    void Move(int direction);
    std::vector<ArchivedConnection> Chosen(const std::vector<ArchivedConnection>& connections) const;
    ReportCalendar Calendar() const;
    struct Limit {
        const char* ObjectName;
        QString Caption;
        double Value;
    };
    static void DrawChart(QChart* chart, const char* barsName, const QString& barsLabel,
        const QStringList& categories, const QList<double>& values, const QList<Limit>& limits);

    Program& program_;
    const Clock& clock_;
    QFutureWatcher<ReadResult> reader_;
    bool loading_ = false;
    // The statistics year last read, and the month under way as first read.
    std::vector<ArchivedConnection> connections_;
    ReportRange loaded_;
    std::optional<std::vector<ArchivedConnection>> thisMonth_;
    DateTime anchor_;

    QComboBox* span_ = nullptr;
    QComboBox* connection_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QLabel* periodText_ = nullptr;
    QChart* timeChart_ = nullptr;
    QChart* costChart_ = nullptr;
    QLabel* forecast_ = nullptr;
    QLabel* state_ = nullptr;
};

}  // namespace tollix
