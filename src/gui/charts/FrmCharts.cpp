#include "gui/charts/FrmCharts.h"

#include <algorithm>
#include <limits>
#include <set>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QtConcurrent>

#include "base/Clock.h"
#include "gui/common/EngineText.h"
#include "history/UsageArchive.h"
#include "meter/Program.h"

namespace tollix {

namespace {

// The periods of the span one after another: days of a statistics month or
// statistics months of a year.
std::vector<ReportRange> PeriodsOf(
    ReportGrouping grouping, const ReportRange& span, const ReportCalendar& calendar)
{
    std::vector<ReportRange> periods;
    DateTime cursor = span.From;
    while (cursor.Days() < span.To.Days() && periods.size() < 40) {
        const ReportRange period = PeriodContaining(grouping, cursor, calendar);
        if (period.To.Days() <= cursor.Days())
            break;
        periods.push_back(period);
        cursor = period.To;
    }
    return periods;
}

// Yuan to the fen: the forecast is an estimate, its fourth decimal means nothing.
Money ToFen(Money value)
{
    const int64_t raw = value.Raw();
    return Money::FromRaw((raw >= 0 ? raw + 50 : raw - 50) / 100 * 100);
}

const char* const kAlertNames[] = {"limitDay", "limitWeek", "limitMonth"};
const char* const kAlertCaptions[] = {QT_TRANSLATE_NOOP("tollix::FrmCharts", "日限额"),
    QT_TRANSLATE_NOOP("tollix::FrmCharts", "周限额"), QT_TRANSLATE_NOOP("tollix::FrmCharts", "月限额")};

}  // namespace

FrmCharts::FrmCharts(Program& program, const Clock& clock, QWidget* parent)
    : QMainWindow(parent)
    , program_(program)
    , clock_(clock)
{
    setObjectName("frmCharts");
    setWindowTitle(tr("用量图表"));
    setWindowIcon(QIcon(":/icons/charts.svg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    BuildWindow();
    connect(&reader_, &QFutureWatcher<ReadResult>::finished, this, &FrmCharts::OnRead);
}

FrmCharts::~FrmCharts()
{
    // The reader holds nothing of the window, but it should not outlive it.
    reader_.waitForFinished();
}

void FrmCharts::BuildWindow()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* row = new QHBoxLayout();
    span_ = new QComboBox(central);
    span_->setObjectName("cboChartSpan");
    span_->addItem(tr("按日显示一个月"));
    span_->addItem(tr("按月显示一年"));
    previous_ = new QPushButton("<", central);
    previous_->setObjectName("cmdPrevious");
    previous_->setToolTip(tr("前一段时间"));
    periodText_ = new QLabel(central);
    periodText_->setObjectName("lblChartPeriod");
    next_ = new QPushButton(">", central);
    next_->setObjectName("cmdNext");
    next_->setToolTip(tr("后一段时间"));
    connection_ = new QComboBox(central);
    connection_->setObjectName("cboChartConnection");
    connection_->addItem(tr("所有的连接"));
    row->addWidget(span_);
    row->addWidget(previous_);
    row->addWidget(periodText_);
    row->addWidget(next_);
    row->addStretch(1);
    row->addWidget(connection_);
    layout->addLayout(row);

    auto addChart = [&](const char* name, const QString& title) {
        auto* chart = new QChart();
        chart->setTitle(title);
        chart->legend()->setAlignment(Qt::AlignBottom);
        auto* view = new QChartView(chart, central);
        view->setObjectName(name);
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(220);
        layout->addWidget(view, 1);
        return chart;
    };
    timeChart_ = addChart("chartTime", tr("用时（小时）"));
    costChart_ = addChart("chartCost", tr("费用（元）"));

    forecast_ = new QLabel(central);
    forecast_->setObjectName("lblForecast");
    layout->addWidget(forecast_);
    setCentralWidget(central);

    state_ = new QLabel(statusBar());
    state_->setObjectName("lblChartState");
    statusBar()->addWidget(state_, 1);
    resize(900, 640);

    connect(span_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
    connect(connection_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
    connect(previous_, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { Move(1); });
}

void FrmCharts::Start()
{
    if (loading_)
        return;
    anchor_ = clock_.Now();
    thisMonth_.reset();
    Load(PeriodContaining(ReportGrouping::Year, anchor_, Calendar()));
}

void FrmCharts::Load(const ReportRange& year)
{
    loading_ = true;
    state_->setText(tr("正在读取用量记录……"));
    const std::filesystem::path file = program_.DataFolder / kUsageArchiveFileName;
    reader_.setFuture(QtConcurrent::run([file, year] {
        ReadResult result;
        result.Range = year;
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) {
            result.Connections.emplace();
            return result;
        }
        std::unique_ptr<UsageArchive> archive = UsageArchive::OpenReadOnly(file, &result.Error);
        if (archive)
            result.Connections = archive->Query(year.From, year.To, &result.Error);
        return result;
    }));
}

void FrmCharts::OnRead()
{
    loading_ = false;
    ReadResult result = reader_.result();
    connections_ = result.Connections ? std::move(*result.Connections) : std::vector<ArchivedConnection>{};
    loaded_ = result.Range;
    if (!result.Connections)
        state_->setText(tr("无法读取用量记录：") + Q(result.Error));
    else if (connections_.empty())
        state_->setText(tr("这段时间没有用量记录。"));
    else
        state_->setText(tr("这一年共有 %1 次连接的记录").arg(connections_.size()));
    // The first read holds the month under way, which the forecast keeps
    // whatever year is shown later.
    if (!thisMonth_) {
        const ReportRange month = PeriodContaining(ReportGrouping::Month, clock_.Now(), Calendar());
        thisMonth_.emplace();
        std::copy_if(connections_.begin(), connections_.end(), std::back_inserter(*thisMonth_),
            [&month](const ArchivedConnection& c) {
                return c.Start.Days() >= month.From.Days() && c.Start.Days() < month.To.Days();
            });
    }

    std::set<std::string> names;
    for (int i = 1; i <= program_.Tariffs.ConnectionCount(); ++i)
        names.insert(program_.Tariffs.Connection(i).Name);
    for (const ArchivedConnection& c : connections_)
        names.insert(c.ConnectionName);
    {
        const QString chosen = connection_->currentIndex() > 0 ? connection_->currentText() : QString();
        const QSignalBlocker block(connection_);
        connection_->clear();
        connection_->addItem(tr("所有的连接"));
        for (const std::string& name : names)
            connection_->addItem(Q(name));
        if (!chosen.isEmpty() && connection_->findText(chosen) < 0)
            connection_->addItem(chosen);
        connection_->setCurrentIndex(std::max(0, connection_->findText(chosen)));
    }
    Redraw();
    emit loaded();
}

ReportCalendar FrmCharts::Calendar() const
{
    return ReportCalendar{program_.Reset.ResetWeekDay, program_.Reset.ResetMonthDay};
}

std::vector<ArchivedConnection> FrmCharts::Chosen(const std::vector<ArchivedConnection>& connections) const
{
    if (connection_->currentIndex() <= 0)
        return connections;
    const std::string name = connection_->currentText().toStdString();
    std::vector<ArchivedConnection> chosen;
    std::copy_if(connections.begin(), connections.end(), std::back_inserter(chosen),
        [&name](const ArchivedConnection& c) { return c.ConnectionName == name; });
    return chosen;
}

void FrmCharts::Move(int direction)
{
    const ReportRange span = PeriodContaining(
        span_->currentIndex() == MonthsOfYear ? ReportGrouping::Year : ReportGrouping::Month, anchor_,
        Calendar());
    anchor_ = direction < 0 ? span.From.AddSeconds(-1) : span.To;
    Redraw();
}

void FrmCharts::Redraw()
{
    const ReportCalendar calendar = Calendar();
    const bool byMonth = span_->currentIndex() == MonthsOfYear;
    const ReportRange span
        = PeriodContaining(byMonth ? ReportGrouping::Year : ReportGrouping::Month, anchor_, calendar);
    if (loading_)
        return;
    // Another year is read first; its arrival draws it. A span that reaches
    // past the year just read (odd reset days) is drawn from what there is.
    const ReportRange year = PeriodContaining(ReportGrouping::Year, anchor_, calendar);
    const bool outside = span.From.Days() < loaded_.From.Days() || span.To.Days() > loaded_.To.Days();
    if (outside && (year.From.Days() != loaded_.From.Days() || year.To.Days() != loaded_.To.Days())) {
        Load(year);
        return;
    }
    const ReportGrouping grouping = byMonth ? ReportGrouping::Month : ReportGrouping::Day;
    const std::vector<ArchivedConnection> chosen = Chosen(connections_);
    const std::vector<ReportRange> periods = PeriodsOf(grouping, span, calendar);
    const UsageReportResult report = AggregateUsage(chosen, grouping, span, calendar);

    std::vector<UsageTotals> bars(periods.size());
    for (const ReportRow& r : report.Rows) {
        for (size_t i = 0; i < periods.size(); ++i)
            if (periods[i].From.DayNumber() == r.PeriodStart.DayNumber())
                bars[i] = r.Totals;
    }

    QStringList categories;
    QList<double> hours;
    QList<double> yuan;
    for (size_t i = 0; i < periods.size(); ++i) {
        const CivilTime t = periods[i].From.ToCivil();
        categories << (byMonth ? tr("%1月").arg(t.month) : QString::number(t.day));
        hours << double(bars[i].Seconds) / 3600.0;
        yuan << bars[i].TotalFee().ToDouble();
    }
    periodText_->setText(tr("%1 至 %2").arg(Q(DateText(span.From)), Q(DateText(span.To.AddSeconds(-1)))));

    // A limit is drawn where a bar measures what it limits: the day's and the
    // week's over the days, the month's over the months.
    const AlertSetting* alerts[]
        = {&program_.Alerts.DayAlert, &program_.Alerts.WeekAlert, &program_.Alerts.MonthAlert};
    QList<Limit> timeLimits;
    QList<Limit> costLimits;
    for (int k = 0; k < 3; ++k) {
        const AlertSetting& a = *alerts[k];
        if (!a.Check || (k == 2) != byMonth)
            continue;
        if (a.AlertStandard)
            costLimits.append({kAlertNames[k], tr("%1 %2元").arg(tr(kAlertCaptions[k]), Q(MoneyText(a.Fee))),
                a.Fee.ToDouble()});
        else
            timeLimits.append(
                {kAlertNames[k], tr("%1 %2小时").arg(tr(kAlertCaptions[k])).arg(a.Hours), double(a.Hours)});
    }
    DrawChart(timeChart_, "barsTime", tr("用时（小时）"), categories, hours, timeLimits);
    DrawChart(costChart_, "barsCost", tr("费用（元）"), categories, yuan, costLimits);

    const MonthForecast forecast
        = ForecastMonth(Chosen(thisMonth_.value_or(connections_)), clock_.Now(), calendar);
    const int32_t seconds
        = int32_t(std::clamp<int64_t>(forecast.Seconds, 0, std::numeric_limits<int32_t>::max()));
    QString text = tr("按目前的速度，本月预计 用时%1，费用%2元")
                       .arg(seconds > 0 ? Q(DurationText(seconds)) : tr("0秒"),
                           Q(MoneyText(ToFen(forecast.TotalFee))));
    const AlertSetting& month = program_.Alerts.MonthAlert;
    if (month.Check && month.AlertStandard && forecast.TotalFee >= month.Fee)
        text += tr("，将超过月限额%1元").arg(Q(MoneyText(month.Fee)));
    else if (month.Check && !month.AlertStandard && forecast.Seconds / 3600 >= month.Hours)
        text += tr("，将超过月限额%1小时").arg(month.Hours);
    forecast_->setText(text);
}

void FrmCharts::DrawChart(QChart* chart, const char* barsName, const QString& barsLabel,
    const QStringList& categories, const QList<double>& values, const QList<Limit>& limits)
{
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis), delete axis;

    auto* set = new QBarSet(barsLabel);
    set->setObjectName(barsName);
    set->append(values);
    auto* bars = new QBarSeries();
    bars->append(set);
    chart->addSeries(bars);

    auto* x = new QBarCategoryAxis();
    x->append(categories);
    // Thirty-one day numbers fit under the bars only in a small font.
    QFont small = x->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    x->setLabelsFont(small);
    auto* y = new QValueAxis();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);

    double top = values.isEmpty() ? 0.0 : *std::max_element(values.begin(), values.end());
    for (const Limit& limit : limits) {
        auto* line = new QLineSeries();
        line->setObjectName(limit.ObjectName);
        line->setName(limit.Caption);
        line->append(-0.5, limit.Value);
        line->append(double(categories.size()) - 0.5, limit.Value);
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
        top = std::max(top, limit.Value);
    }
    y->setRange(0.0, top > 0.0 ? top * 1.1 : 1.0);
    y->applyNiceNumbers();
    y->setLabelFormat(barsName == std::string_view("barsTime") ? "%.1f" : "%.2f");
}

}  // namespace tollix
