#include "gui/history/FrmHistory.h"

#include "gui/common/Toolbars.h"

#include <algorithm>

#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "base/Clock.h"
#include "config/SettingKeys.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/ShellCommands.h"
#include "gui/history/PrintGrid.h"
#include "gui/main/FrmMain.h"
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
    {"序号", 500, kCentred},
    {"连接名称", 1080, kGeneral},
    {"开始时间", 2400, kCentred},
    {"用时", 1250, kCentred},
    {"上网费(元)", 1020, kCentred},
    {"电话费(元)", 1020, kCentred},
    {"总费用(元)", 1020, kCentred},
}};
constexpr int kFixedRowTwips = 300;
constexpr int kEntryRowTwips = 260;

const char* const kPeriodItems[] = {"显示所有的记录", "只显示今天的记录", "只显示这个星期的记录",
    "只显示这个月的记录", "只显示这两个月的记录"};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The engine writes numbers with '.'; the grid shows the desktop's separator.
QString Number(const std::string& text, QChar decimalPoint)
{
    QString q = Q(text);
    if (decimalPoint != '.')
        q.replace('.', decimalPoint);
    return q;
}

}  // namespace

FrmHistory::FrmHistory(Program& program, const Clock& clock, std::function<void()> onReturn, QWidget* parent)
    : QMainWindow(parent)
    , program_(program)
    , clock_(clock)
    , onReturn_(std::move(onReturn))
{
    setObjectName("frmHistory");
    setWindowTitle("历史记录窗口");
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
    const QList<QAction*> actions = AddToolbar(
        this,
        {
            {"打印记录", "print", "打印当前显示的记录"},
            {"删除记录", "delete", "删除所有的记录"},
            {"显示帮助", "help", "解答一些问题"},
            {"返回", "back", "返回主窗口"},
        },
        [this](const QString& caption) { Toolbar1_ButtonClick(caption); }, &Toolbar1_);
    for (size_t i = 0; i < toolButtons_.size(); ++i)
        toolButtons_[i] = actions[qsizetype(i)];

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    // The grid sits 120 twips from the left and leaves 180 on the right.
    layout->setContentsMargins(
        TwipsToPixelsX(120), TwipsToPixelsY(60), TwipsToPixelsX(180), TwipsToPixelsY(60));

    MSFlexGrid1_ = new QTableWidget(2, kHistoryColumnCount, central);
    MSFlexGrid1_->setObjectName("MSFlexGrid1");
    // Row 0 holds the headers and row 1 the totals, as in the printed list, so
    // the grid's own header bars stay hidden.
    MSFlexGrid1_->horizontalHeader()->hide();
    MSFlexGrid1_->verticalHeader()->hide();
    MSFlexGrid1_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1_->horizontalHeader()->setMinimumSectionSize(1);
    MSFlexGrid1_->verticalHeader()->setMinimumSectionSize(1);
    MSFlexGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1_->setWordWrap(false);
    layout->addWidget(MSFlexGrid1_, 1);

    auto* row = new QHBoxLayout();
    cboRASname_ = new QComboBox(central);
    cboRASname_->setObjectName("cboRASname");
    Label2_ = new QLabel("按时间段", central);
    Label2_->setObjectName("Label2");
    cboShowTime_ = new QComboBox(central);
    cboShowTime_->setObjectName("cboShowTime");
    for (const char* item : kPeriodItems)
        cboShowTime_->addItem(QString::fromUtf8(item));
    Label1_ = new QLabel("保留最后", central);
    Label1_->setObjectName("Label1");
    cboLastItem_ = new QComboBox(central);
    cboLastItem_->setObjectName("cboLastItem");
    for (int16_t n : kLogLengthChoices)
        cboLastItem_->addItem(QString("%1条记录").arg(n));
    row->addWidget(cboRASname_);
    row->addSpacing(TwipsToPixelsX(240));
    row->addWidget(Label2_);
    row->addWidget(cboShowTime_);
    row->addSpacing(TwipsToPixelsX(240));
    row->addWidget(Label1_);
    row->addWidget(cboLastItem_);
    row->addStretch(1);
    layout->addLayout(row);
    setCentralWidget(central);

    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    panel1_ = new QLabel(bar);
    panel1_->setObjectName("StatusBar1_Panel1");
    bar->addWidget(panel1_, 1);

    int gridWidth = 0;
    for (const Column& c : kColumns)
        gridWidth += TwipsToPixelsX(c.widthTwips);
    resize(gridWidth + TwipsToPixelsX(300) + 24, TwipsToPixelsY(6000));

    connect(cboRASname_, &QComboBox::currentIndexChanged, this, [this] { cboRASname_Click(); });
    connect(cboShowTime_, &QComboBox::currentIndexChanged, this, [this] { cboShowTime_Click(); });
    connect(cboLastItem_, &QComboBox::currentIndexChanged, this, [this] { cboLastItem_Click(); });
}

void FrmHistory::SetComboIndex(QComboBox* combo, int index)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
}

void FrmHistory::Form_Load()
{
    period_ = kHistoryStartPeriod;
    int16_t connection = 0;
    Load(connection, period_);
    FillGrid();

    {
        const QSignalBlocker block(cboRASname_);
        cboRASname_->clear();
        cboRASname_->addItem("显示所有的记录");
        for (int i = 1; i <= program_.Tariffs.ConnectionCount(); ++i)
            cboRASname_->addItem("仅显示" + Q(program_.Tariffs.Connection(i).Name) + "的记录");
        cboRASname_->setCurrentIndex(0);
    }
    SetComboIndex(cboShowTime_, 0);
    SetComboIndex(cboLastItem_, LogLengthChoiceIndex(program_.LogNumber));
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
            text += "\n请用文本编辑器修正或删除这一行，然后重新打开历史记录窗口。";
        ShowMessage(this, kTitle, text, QMessageBox::Warning);
    }
}

void FrmHistory::FillGrid()
{
    panel1_->setText(QString("共有 %1 条纪录").arg(count_));

    const QChar decimalPoint = QLocale::system().decimalPoint().front();
    MSFlexGrid1_->setUpdatesEnabled(false);
    MSFlexGrid1_->clearContents();
    MSFlexGrid1_->setRowCount(count_ + 2);
    QHeaderView* rows = MSFlexGrid1_->verticalHeader();
    rows->setDefaultSectionSize(TwipsToPixelsY(kEntryRowTwips));
    MSFlexGrid1_->setRowHeight(0, TwipsToPixelsY(kFixedRowTwips));
    MSFlexGrid1_->setRowHeight(1, TwipsToPixelsY(kFixedRowTwips));

    const QBrush fixedBackground = palette().brush(QPalette::Button);
    auto put = [&](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(row == 0 ? kCentred : kColumns[size_t(column)].alignment);
        if (row == 0 || column == 0)
            item->setBackground(fixedBackground);
        MSFlexGrid1_->setItem(row, column, item);
    };

    QStringList headers;
    for (int c = 0; c < kHistoryColumnCount; ++c) {
        const Column& column = kColumns[size_t(c)];
        headers << QString::fromUtf8(column.header);
        MSFlexGrid1_->setColumnWidth(c, TwipsToPixelsX(column.widthTwips));
        put(0, c, headers.back());
    }
    MSFlexGrid1_->setHorizontalHeaderLabels(headers);

    for (int i = 0; i < count_; ++i) {
        const HistoryRowTexts texts = HistoryEntryRow(entries_[size_t(i)], i + 1);
        for (int c = 0; c < kHistoryColumnCount; ++c)
            put(i + 2, c, c >= 4 ? Number(texts[size_t(c)], decimalPoint) : Q(texts[size_t(c)]));
    }
    const HistoryRowTexts totals = HistoryTotalsRow(SumHistory(entries_));
    for (int c = 0; c < kHistoryColumnCount; ++c)
        put(1, c, c >= 4 ? Number(totals[size_t(c)], decimalPoint) : Q(totals[size_t(c)]));
    MSFlexGrid1_->setUpdatesEnabled(true);
}

void FrmHistory::cboRASname_Click()
{
    int16_t connection = int16_t(cboRASname_->currentIndex());
    Load(connection, period_);
    FillGrid();
}

void FrmHistory::cboShowTime_Click()
{
    period_ = int16_t(cboShowTime_->currentIndex());
    int16_t connection = int16_t(cboRASname_->currentIndex());
    Load(connection, period_);
    FillGrid();
}

void FrmHistory::SetLogNumber(int16_t logNumber)
{
    program_.LogNumber = logNumber;
    std::string error;
    if (!WriteSetting(program_.Profile, Setting::LogNumber, std::to_string(logNumber), &error))
        ShowMessage(this, kTitle, "无法保存记录条数的设置：" + Q(error), QMessageBox::Warning);
}

void FrmHistory::cboLastItem_Click()
{
    const int index = cboLastItem_->currentIndex();
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
    const QString question = QString("这将把第%1条以后的记录都删除,你肯定吗?").arg(n);
    if (AskOkCancel(this, kTitle, question) != QMessageBox::Ok) {
        SetComboIndex(cboLastItem_, LogLengthChoiceIndex(program_.LogNumber));
        return;
    }
    SetLogNumber(n);
    SetComboIndex(cboRASname_, 0);
    int16_t connection = 0;
    Load(connection, period_);
    FillGrid();
}

void FrmHistory::Toolbar1_ButtonClick(const QString& caption)
{
    if (caption == "打印记录") {
        const QString question
            = QString("你要将当前显示的纪录打印出来吗?") + "\r\n\r" + "按“确定”键开始打印,按“取消”键取消打印";
        if (AskOkCancel(this, kTitle, question) == QMessageBox::Ok)
            PrintGrid(*MSFlexGrid1_, this);
    } else if (caption == "删除记录") {
        if (AskOkCancel(this, kTitle, "你肯定要删除所有的记录吗？") != QMessageBox::Ok)
            return;
        std::string error;
        if (!DeleteConnectionLog(program_.LogPath, &error))
            ShowMessage(this, kTitle, Q(error), QMessageBox::Warning);
        entries_.clear();
        count_ = 0;
        period_ = 0;
        SetComboIndex(cboRASname_, 0);
        SetComboIndex(cboShowTime_, 0);
        int16_t connection = 0;
        Load(connection, period_);
        FillGrid();
    } else if (caption == "显示帮助") {
        ShowHelp(this);
    } else if (caption == "返回") {
        close();
        if (onReturn_)
            onReturn_();
    }
}

void ShowHistoryWindow(FrmMain& main)
{
    static QPointer<FrmHistory> window;
    if (main.TrayAvailable())
        main.hide();
    else
        main.showMinimized();
    if (window) {
        window->showNormal();
        window->raise();
        window->activateWindow();
        return;
    }
    QPointer<FrmMain> mainWindow(&main);
    window = new FrmHistory(main.ProgramState(), main.ClockSource(), [mainWindow] {
        if (mainWindow)
            mainWindow->RestoreMainWindow();
    });
    window->show();
    window->Form_Load();
}

}  // namespace tollix
