#include "gui/history/FrmHistory.h"

#include "gui/common/EngineText.h"
#include "gui/common/Toolbars.h"

#include <algorithm>

#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "base/Clock.h"
#include "config/SettingKeys.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/SaveFailureNotice.h"
#include "gui/history/ExportDialog.h"
#include "gui/history/FixedRows.h"
#include "gui/history/PrintGrid.h"
#include "history/ConnectionLog.h"
#include "history/HistoryFilter.h"
#include "meter/Program.h"

namespace tollix {

namespace {

const QString kTitle = "Tollix";

struct Column {
    const char* header;
    int widthTwips;
    Qt::Alignment alignment;
};
constexpr Qt::Alignment kCentred = Qt::AlignCenter;
constexpr Qt::Alignment kGeneral = Qt::AlignLeft | Qt::AlignVCenter;
const std::array<Column, kHistoryColumnCount> kColumns{{
    {QT_TRANSLATE_NOOP("tollix::FrmHistory", "序号"), 500, kCentred},
    {QT_TRANSLATE_NOOP("tollix::FrmHistory", "连接名称"), 1080, kGeneral},
    {QT_TRANSLATE_NOOP("tollix::FrmHistory", "开始时间"), 2400, kCentred},
    {QT_TRANSLATE_NOOP("tollix::FrmHistory", "用时"), 1250, kCentred},
    {QT_TRANSLATE_NOOP("tollix::FrmHistory", "上网费(元)"), 1020, kCentred},
    {QT_TRANSLATE_NOOP("tollix::FrmHistory", "电话费(元)"), 1020, kCentred},
    {QT_TRANSLATE_NOOP("tollix::FrmHistory", "总费用(元)"), 1020, kCentred},
}};
constexpr int kFixedRowTwips = 300;
constexpr int kEntryRowTwips = 260;

const char* const kPeriodItems[] = {QT_TRANSLATE_NOOP("tollix::FrmHistory", "显示所有的记录"),
    QT_TRANSLATE_NOOP("tollix::FrmHistory", "只显示今天的记录"),
    QT_TRANSLATE_NOOP("tollix::FrmHistory", "只显示这个星期的记录"),
    QT_TRANSLATE_NOOP("tollix::FrmHistory", "只显示这个月的记录"),
    QT_TRANSLATE_NOOP("tollix::FrmHistory", "只显示这两个月的记录")};

}  // namespace

FrmHistory::FrmHistory(Program& program, const Clock& clock, QWidget* parent)
    : QMainWindow(parent)
    , program_(program)
    , clock_(clock)
    , saveFailures_(new SaveFailureNotice(this))
{
    setObjectName("frmHistory");
    setWindowTitle(tr("历史记录窗口"));
    setWindowIcon(QIcon(":/icons/history.svg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    BuildWindow();
}

int FrmHistory::TwipsToPixelsX(int twips) const
{
    return (twips * logicalDpiX() + 720) / 1440;
}

int FrmHistory::TwipsToPixelsY(int twips) const
{
    return (twips * logicalDpiY() + 720) / 1440;
}

void FrmHistory::BuildWindow()
{
    AddToolbar(
        this,
        {
            {QT_TRANSLATE_NOOP("Toolbar", "打印记录"), "print",
                QT_TRANSLATE_NOOP("Toolbar", "打印当前显示的记录")},
            {QT_TRANSLATE_NOOP("Toolbar", "删除记录"), "delete",
                QT_TRANSLATE_NOOP("Toolbar", "删除所有的记录")},
            {QT_TRANSLATE_NOOP("Toolbar", "显示帮助"), "help", QT_TRANSLATE_NOOP("Toolbar", "解答一些问题")},
            {QT_TRANSLATE_NOOP("Toolbar", "返回"), "back", QT_TRANSLATE_NOOP("Toolbar", "返回主窗口")},
            {QT_TRANSLATE_NOOP("Toolbar", "导出记录"), "export",
                QT_TRANSLATE_NOOP("Toolbar", "把当前显示的记录存为CSV文件")},
            {QT_TRANSLATE_NOOP("Toolbar", "用量图表"), "charts",
                QT_TRANSLATE_NOOP("Toolbar", "按日、按月查看用时和费用")},
        },
        [this](const QString& caption) { OnToolButton(caption); }, &toolbar_);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    // The grid sits 120 twips from the left and leaves 180 on the right.
    layout->setContentsMargins(
        TwipsToPixelsX(120), TwipsToPixelsY(60), TwipsToPixelsX(180), TwipsToPixelsY(60));

    grid_ = new QTableWidget(2, kHistoryColumnCount, central);
    grid_->setObjectName("MSFlexGrid1");
    // Row 0 holds the headers and row 1 the totals, as in the printed list, so
    // the grid's own header bars stay hidden; FixedRows keeps both in view.
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setMinimumSectionSize(1);
    grid_->verticalHeader()->setMinimumSectionSize(1);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setWordWrap(false);
    // Widths are set once: a column the user widened stays so across filters.
    for (int c = 0; c < kHistoryColumnCount; ++c)
        grid_->setColumnWidth(c, TwipsToPixelsX(kColumns[size_t(c)].widthTwips));
    grid_->setRowHeight(0, TwipsToPixelsY(kFixedRowTwips));
    grid_->setRowHeight(1, TwipsToPixelsY(kFixedRowTwips));
    new FixedRows(grid_);
    layout->addWidget(grid_, 1);

    auto* row = new QHBoxLayout();
    connectionFilter_ = new QComboBox(central);
    connectionFilter_->setObjectName("cboRASname");
    periodCaption_ = new QLabel(tr("按时间段"), central);
    periodCaption_->setObjectName("Label2");
    periodFilter_ = new QComboBox(central);
    periodFilter_->setObjectName("cboShowTime");
    for (const char* item : kPeriodItems)
        periodFilter_->addItem(tr(item));
    logLengthCaption_ = new QLabel(tr("保留最后"), central);
    logLengthCaption_->setObjectName("Label1");
    logLength_ = new QComboBox(central);
    logLength_->setObjectName("cboLastItem");
    for (int16_t n : kLogLengthChoices)
        logLength_->addItem(tr("%1条记录").arg(n));
    row->addWidget(connectionFilter_);
    row->addSpacing(TwipsToPixelsX(240));
    row->addWidget(periodCaption_);
    row->addWidget(periodFilter_);
    row->addSpacing(TwipsToPixelsX(240));
    row->addWidget(logLengthCaption_);
    row->addWidget(logLength_);
    row->addStretch(1);
    layout->addLayout(row);
    setCentralWidget(central);

    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    countText_ = new QLabel(bar);
    countText_->setObjectName("StatusBar1_Panel1");
    bar->addWidget(countText_, 1);

    int gridWidth = 0;
    for (const Column& c : kColumns)
        gridWidth += TwipsToPixelsX(c.widthTwips);
    resize(gridWidth + TwipsToPixelsX(300) + 24, TwipsToPixelsY(6000));

    connect(connectionFilter_, &QComboBox::currentIndexChanged, this, [this] { OnConnectionChosen(); });
    connect(periodFilter_, &QComboBox::currentIndexChanged, this, [this] { OnPeriodChosen(); });
    connect(logLength_, &QComboBox::currentIndexChanged, this, [this] { OnLogLengthChosen(); });
}

void FrmHistory::SetComboIndex(QComboBox* combo, int index)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
}

void FrmHistory::Start()
{
    period_ = kHistoryStartPeriod;
    int16_t connection = 0;
    Load(connection, period_);
    FillGrid();

    {
        const QSignalBlocker block(connectionFilter_);
        connectionFilter_->clear();
        connectionFilter_->addItem(tr("显示所有的记录"));
        for (int i = 1; i <= program_.Tariffs.ConnectionCount(); ++i)
            connectionFilter_->addItem(tr("仅显示%1的记录").arg(Q(program_.Tariffs.Connection(i).Name)));
        connectionFilter_->setCurrentIndex(0);
    }
    SetComboIndex(periodFilter_, 0);
    SetComboIndex(logLength_, LogLengthChoiceIndex(program_.LogNumber));
}

void FrmHistory::Load(int16_t& connectionIndex, int16_t& period)
{
    if (connectionIndex < 0)
        connectionIndex = 0;
    HistoryLoadResult result = LoadHistory(
        program_.LogPath, program_.LogNumber, program_.Tariffs, connectionIndex, period, clock_.Now());
    entries_ = std::move(result.Entries);
    count_ = int16_t(entries_.size());
    logCount_ = result.LogCount;
    if (!result.Error.empty()) {
        QString text = Q(result.Error);
        if (result.DamagedLine != 0)
            text += "\n" + tr("请用文本编辑器修正或删除这一行，然后重新打开历史记录窗口。");
        ShowMessage(this, kTitle, text, QMessageBox::Warning);
    }
}

void FrmHistory::FillGrid()
{
    countText_->setText(tr("共有 %1 条纪录").arg(count_));

    grid_->setUpdatesEnabled(false);
    grid_->clearContents();
    grid_->setRowCount(count_ + 2);
    QHeaderView* rows = grid_->verticalHeader();
    rows->setDefaultSectionSize(TwipsToPixelsY(kEntryRowTwips));
    grid_->setRowHeight(0, TwipsToPixelsY(kFixedRowTwips));
    grid_->setRowHeight(1, TwipsToPixelsY(kFixedRowTwips));

    const QBrush fixedBackground = palette().brush(QPalette::Button);
    auto put = [&](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(row == 0 ? kCentred : kColumns[size_t(column)].alignment);
        if (row == 0 || column == 0)
            item->setBackground(fixedBackground);
        grid_->setItem(row, column, item);
    };

    QStringList headers;
    for (int c = 0; c < kHistoryColumnCount; ++c) {
        const Column& column = kColumns[size_t(c)];
        headers << tr(column.header);
        put(0, c, headers.back());
    }
    grid_->setHorizontalHeaderLabels(headers);

    for (int i = 0; i < count_; ++i) {
        const HistoryRowTexts texts = HistoryEntryRow(entries_[size_t(i)], i + 1);
        for (int c = 0; c < kHistoryColumnCount; ++c)
            put(i + 2, c, Q(texts[size_t(c)]));
    }
    const HistoryRowTexts totals = HistoryTotalsRow(SumHistory(entries_));
    for (int c = 0; c < kHistoryColumnCount; ++c)
        put(1, c, Q(totals[size_t(c)]));
    grid_->setUpdatesEnabled(true);
    // A filter that leaves fewer entries starts at the newest.
    grid_->scrollToTop();
}

void FrmHistory::OnConnectionChosen()
{
    int16_t connection = int16_t(connectionFilter_->currentIndex());
    Load(connection, period_);
    FillGrid();
}

void FrmHistory::OnPeriodChosen()
{
    period_ = int16_t(periodFilter_->currentIndex());
    int16_t connection = int16_t(connectionFilter_->currentIndex());
    Load(connection, period_);
    FillGrid();
}

bool FrmHistory::SetLogNumber(int16_t logNumber)
{
    // The length the file did not take stays as it was, here and in memory.
    if (!saveFailures_->Report(
            WriteSetting(program_.Profile, Setting::LogNumber, std::to_string(logNumber)))) {
        SetComboIndex(logLength_, LogLengthChoiceIndex(program_.LogNumber));
        return false;
    }
    program_.LogNumber = logNumber;
    return true;
}

void FrmHistory::OnLogLengthChosen()
{
    const int index = logLength_->currentIndex();
    if (index < 0 || index >= int(kLogLengthChoices.size()))
        return;
    const int16_t n = kLogLengthChoices[size_t(index)];
    // Compared with the whole log, not only the entries a filter lets through:
    // a filtered view must not hide that the shorter log loses entries.
    const size_t atRisk = std::max(logCount_, size_t(count_));
    if (size_t(n) >= atRisk) {
        SetLogNumber(n);
        return;
    }
    const QString question = tr("这将把第%1条以后的记录都删除,你肯定吗?").arg(n);
    if (AskOkCancel(this, kTitle, question) != QMessageBox::Ok) {
        SetComboIndex(logLength_, LogLengthChoiceIndex(program_.LogNumber));
        return;
    }
    if (!SetLogNumber(n))
        return;
    SetComboIndex(connectionFilter_, 0);
    int16_t connection = 0;
    Load(connection, period_);
    FillGrid();
}

void FrmHistory::OnToolButton(const QString& caption)
{
    if (caption == "打印记录") {
        const QString question
            = tr("你要将当前显示的纪录打印出来吗?") + "\r\n\r" + tr("按“确定”键开始打印,按“取消”键取消打印");
        if (AskOkCancel(this, kTitle, question) == QMessageBox::Ok)
            PrintGrid(*grid_, this);
    } else if (caption == "删除记录") {
        if (AskOkCancel(this, kTitle, tr("你肯定要删除所有的记录吗？")) != QMessageBox::Ok)
            return;
        std::string error;
        if (!DeleteConnectionLog(program_.LogPath, &error))
            ShowMessage(this, kTitle, Q(error), QMessageBox::Warning);
        entries_.clear();
        count_ = 0;
        period_ = 0;
        SetComboIndex(connectionFilter_, 0);
        SetComboIndex(periodFilter_, 0);
        int16_t connection = 0;
        Load(connection, period_);
        FillGrid();
    } else if (caption == "显示帮助") {
        emit helpRequested();
    } else if (caption == "返回") {
        close();
        emit returned();
    } else if (caption == "导出记录") {
        ExportShown();
    } else if (caption == "用量图表") {
        emit chartsRequested();
    }
}

void FrmHistory::ExportShown()
{
    ExportHistory(this, program_.DataFolder, entries_);
}

}  // namespace tollix
