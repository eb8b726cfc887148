#include "gui/settings/FrmSettings.h"

#include "gui/common/Toolbars.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "base/Clock.h"
#include "dialup/DialupService.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/ShellCommands.h"
#include "gui/common/SoundPlayer.h"
#include "gui/main/FrmMain.h"
#include "meter/Program.h"

namespace tollix {

namespace {

using C = ConnectionSetting;

const QString kTitle = QStringLiteral("Tollix");

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string S(const QString& s)
{
    return s.toStdString();
}

QString Number(int value)
{
    return QString::number(value);
}

QString FeeText(Money fee)
{
    return Q(MoneyText(fee));
}

QLabel* Label(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

QLineEdit* TextBox(const char* name, const QString& initial, QWidget* parent)
{
    auto* box = new QLineEdit(initial, parent);
    box->setObjectName(name);
    return box;
}

QComboBox* PeriodCombo(const QString& name, bool hours, const QString& initial, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    // A typed text counts only once a list item is picked; it never becomes an item.
    combo->setInsertPolicy(QComboBox::NoInsert);
    if (hours) {
        for (int h = 1; h <= 24; ++h)
            combo->addItem(Number(h));
    } else {
        combo->addItems({"00", "15", "30", "45"});
    }
    combo->setEditText(initial);
    combo->setMinimumContentsLength(3);
    return combo;
}

// "before [box] after", kept to the left.
QHBoxLayout* LabelledRow(const QString& before, QWidget* box, const QString& after, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(Label(before, parent));
    row->addWidget(box);
    row->addWidget(Label(after, parent));
    row->addStretch();
    return row;
}

void SetChecked(QCheckBox* box, int16_t value)
{
    box->setChecked(value != 0);
}

// One settings window at a time, created on first use and deleted when left.
QPointer<FrmSettings>& Instance()
{
    static QPointer<FrmSettings> instance;
    return instance;
}

const char* const kResetQuestions[4][2] = {
    {"将今天的所有数值都变0,你肯定吗？", "将今天的数值置零"},
    {"将这个星期的所有数值都变成0 , 你肯定吗？", "将这个星期的数值置零"},
    {"将这个月的所有数值都变成0 , 你肯定吗？", "将这个月的数值置零"},
    {"将总数的所有数值都变成0 , 你肯定吗？", "将总数的数值置零"},
};

}  // namespace

FrmSettings::FrmSettings(Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound,
    FrmMain* main, QWidget* parent)
    : QMainWindow(parent)
    , program_(program)
    , dialup_(dialup)
    , clock_(clock)
    , sound_(sound)
    , main_(main)
    , editor_(program.Tariffs, program.Alerts, program.Reset, program.Profile)
{
    // Form_Load: nothing the filling below changes may reach the settings.
    formShown_ = false;
    setObjectName("frmSettings");
    setWindowTitle("设置中心");
    setWindowIcon(QIcon(":/icons/tollix.svg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);

    chooseFile_ = [](QWidget* parent, const QString& current) {
        const QString folder = current.trimmed().isEmpty() ? QString() : QFileInfo(current.trimmed()).path();
        return QFileDialog::getOpenFileName(parent, "选择声音文件", folder, "声音文件 (*.wav)");
    };

    BuildToolbar();
    SSTab1_ = new QTabWidget(this);
    SSTab1_->setObjectName("SSTab1");
    SSTab1_->addTab(BuildNetTab(), "上网费设置");
    SSTab1_->addTab(BuildTelTab(), "电话费设置");
    SSTab1_->addTab(BuildAlertTab(), "报警设置");
    SSTab1_->addTab(BuildResetTab(), "置零设置");
    SSTab1_->setCurrentIndex(0);
    setCentralWidget(SSTab1_);

    InitalFeeTab();
    IniAlertTab();
    IniResetTab();
    IniTelTab();
}

FrmSettings::~FrmSettings() = default;

void FrmSettings::OpenFrom(FrmMain& main, const Clock& clock, SoundPlayer& sound)
{
    QPointer<FrmSettings>& instance = Instance();
    if (!instance) {
        Program& program = main.ProgramState();
        instance = new FrmSettings(program, main.Dialup(), clock, sound, &main);
    }
    main.hide();
    instance->show();
    instance->raise();
    instance->activateWindow();
}

// ---------------------------------------------------------------- building

void FrmSettings::BuildToolbar()
{
    AddToolbar(
        this, {{"返回", "back", "返回主窗口"}, {"显示帮助", "help", "解答一些问题"}},
        [this](const QString& caption) {
            if (caption == "返回")
                close();  // closeEvent brings the main window back first
            else if (caption == "显示帮助")
                ShowHelp(this);
        },
        &Toolbar1_);
}

FrmSettings::PeriodFrame FrmSettings::BuildPeriodFrame(
    const QString& frameName, const QString& prefix, const QString& everydayName)
{
    PeriodFrame f;
    f.frame = new QGroupBox("折价时间段");
    f.frame->setObjectName(frameName);
    auto* grid = new QGridLayout(f.frame);
    f.holiday = new QCheckBox("今天节假日折价", f.frame);
    f.holiday->setObjectName("cek" + prefix + "Holiday");
    f.everyday = new QCheckBox("每天", f.frame);
    f.everyday->setObjectName(everydayName);
    f.startHour = PeriodCombo("cbo" + prefix + "StartHour", true, "21", f.frame);
    f.startMinute = PeriodCombo("cbo" + prefix + "StartMinute", false, "00", f.frame);
    f.endHour = PeriodCombo("cbo" + prefix + "EndHour", true, "7", f.frame);
    f.endMinute = PeriodCombo("cbo" + prefix + "EndMinute", false, "00", f.frame);
    f.saturday = new QCheckBox("星期六全天", f.frame);
    f.saturday->setObjectName("cek" + prefix + "Saturday");
    f.sunday = new QCheckBox("星期日全天", f.frame);
    f.sunday->setObjectName("cek" + prefix + "Sunday");
    QLabel* dot1 = Label("点", f.frame);
    QLabel* to = Label("分到", f.frame);
    QLabel* nextDay = Label("次日", f.frame);
    QLabel* dot2 = Label("点", f.frame);
    QLabel* minute = Label("分", f.frame);
    f.labels = {dot1, to, nextDay, dot2, minute};

    grid->addWidget(f.holiday, 0, 0, 1, 5);
    grid->addWidget(f.everyday, 1, 0);
    grid->addWidget(f.startHour, 1, 1);
    grid->addWidget(dot1, 1, 2);
    grid->addWidget(f.startMinute, 1, 3);
    grid->addWidget(to, 1, 4);
    grid->addWidget(nextDay, 2, 0, Qt::AlignRight);
    grid->addWidget(f.endHour, 2, 1);
    grid->addWidget(dot2, 2, 2);
    grid->addWidget(f.endMinute, 2, 3);
    grid->addWidget(minute, 2, 4);
    grid->addWidget(f.saturday, 3, 0, 1, 5);
    grid->addWidget(f.sunday, 4, 0, 1, 5);
    return f;
}

QWidget* FrmSettings::BuildNetTab()
{
    auto* tab = new QWidget;
    tab->setObjectName("SSTab1_0");
    auto* layout = new QVBoxLayout(tab);

    auto* selector = new QGroupBox(tab);
    selector->setObjectName("fraConnection");
    auto* selectorLayout = new QGridLayout(selector);
    cboConnectionName_ = new QComboBox(selector);
    cboConnectionName_->setObjectName("cboConnectionName");
    // Only listed connections: a typed name would edit one connection in memory
    // while the file writes went to a section of another name.
    cboConnectionName_->setEditable(false);
    cboConnectionName_->setToolTip("选取不同的连接名称可设置多个帐号");
    cboConnectionName_->setMinimumContentsLength(16);
    selectorLayout->addWidget(Label("连接名称", selector), 0, 0);
    selectorLayout->addWidget(cboConnectionName_, 0, 1, 1, 3);
    const char* feeTypes[3] = {"免费", "按分钟算", "额定小时"};
    for (int i = 0; i < 3; ++i) {
        otnFeetype_[size_t(i)] = new QRadioButton(feeTypes[i], selector);
        otnFeetype_[size_t(i)]->setObjectName(QString("otnFeetype_%1").arg(i));
        selectorLayout->addWidget(otnFeetype_[size_t(i)], 1, i + 1);
    }
    layout->addWidget(selector);

    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);

    // Per-minute group.
    auto* netColumn = new QVBoxLayout;
    auto* netGrid = new QGridLayout;
    QLabel* fullLabel = Label("全价：", tab);
    txtNetFee_ = TextBox("txtNetFee", "0.06", tab);
    QLabel* fullUnit = Label("元/分钟", tab);
    QLabel* halfLabel = Label("折价时间内为:", tab);
    txtHalfFee_ = TextBox("txtHalfFee", "0.03", tab);
    QLabel* halfUnit = Label("元/分钟", tab);
    netGrid->addWidget(fullLabel, 0, 0);
    netGrid->addWidget(txtNetFee_, 0, 1);
    netGrid->addWidget(fullUnit, 0, 2);
    netGrid->addWidget(halfLabel, 1, 0);
    netGrid->addWidget(txtHalfFee_, 1, 1);
    netGrid->addWidget(halfUnit, 1, 2);
    netColumn->addLayout(netGrid);
    Frame1_ = BuildPeriodFrame("Frame1", "", "cekEveryDay");
    netColumn->addWidget(Frame1_.frame);
    netColumn->addStretch();
    columns->addLayout(netColumn);
    netLabels_ = {fullLabel, fullUnit, halfLabel, halfUnit};

    // Rated-hours group.
    auto* fixColumn = new QVBoxLayout;
    auto* fixGrid = new QGridLayout;
    QLabel* month = Label("每月", tab);
    txtExcelHour_ = TextBox("txtExcelHour", "30", tab);
    QLabel* hours = Label("小时", tab);
    txtExcelFee_ = TextBox("txtExcelFee", "0.06", tab);
    QLabel* yuan = Label("元", tab);
    QLabel* beyond = Label("超过额定小时后", tab);
    txtExcelMinute_ = TextBox("txtExcelMinute", "0.06", tab);
    QLabel* beyondUnit = Label("元/分钟", tab);
    QLabel* fixHalfLabel = Label("折价时间内为:", tab);
    txtFixHalf_ = TextBox("txtFixHalf", "0.03", tab);
    QLabel* fixHalfUnit = Label("元/分钟", tab);
    fixGrid->addWidget(month, 0, 0);
    fixGrid->addWidget(txtExcelHour_, 0, 1);
    fixGrid->addWidget(hours, 0, 2);
    fixGrid->addWidget(txtExcelFee_, 0, 3);
    fixGrid->addWidget(yuan, 0, 4);
    fixGrid->addWidget(beyond, 1, 0, 1, 2);
    fixGrid->addWidget(txtExcelMinute_, 1, 3);
    fixGrid->addWidget(beyondUnit, 1, 4);
    fixGrid->addWidget(fixHalfLabel, 2, 0, 1, 2);
    fixGrid->addWidget(txtFixHalf_, 2, 3);
    fixGrid->addWidget(fixHalfUnit, 2, 4);
    fixColumn->addLayout(fixGrid);
    Frame3_ = BuildPeriodFrame("Frame3", "Fix", "cekFixEveryday");
    fixColumn->addWidget(Frame3_.frame);
    fixColumn->addStretch();
    columns->addLayout(fixColumn);
    fixLabels_ = {month, hours, yuan, beyond, beyondUnit, fixHalfLabel, fixHalfUnit};

    // Handlers.
    connect(cboConnectionName_, &QComboBox::activated, this, [this](int) { cboConnectionName_Click(); });
    for (int i = 0; i < 3; ++i)
        connect(otnFeetype_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                otnFeetype_Click(i);
        });
    auto feeBox = [this](QLineEdit* box, ConnectionSetting field) {
        OnTextEdited(box,
            [this, field](std::string_view text) { editor_.ConnectionFee(ConnectionText(), field, text); });
    };
    feeBox(txtNetFee_, C::FullFee);
    feeBox(txtHalfFee_, C::HalfFee);
    feeBox(txtFixHalf_, C::HalfFee);
    feeBox(txtExcelFee_, C::FixFee);
    feeBox(txtExcelMinute_, C::ExcelFee);
    OnTextEdited(txtExcelHour_, [this](std::string_view text) { editor_.FixHour(ConnectionText(), text); });
    ConnectNetPeriod(Frame1_);
    ConnectNetPeriod(Frame3_);
    return tab;
}

void FrmSettings::ConnectNetPeriod(const PeriodFrame& f)
{
    auto combo = [this](QComboBox* box, ConnectionSetting field) {
        connect(box, &QComboBox::activated, this, [this, box, field](int index) {
            if (formShown_)
                editor_.ConnectionPeriod(ConnectionText(), field, S(box->itemText(index)));
        });
    };
    combo(f.startHour, C::StartHour);
    combo(f.startMinute, C::StartMinute);
    combo(f.endHour, C::EndHour);
    combo(f.endMinute, C::EndMinute);
    auto flag = [this](QCheckBox* box, ConnectionSetting field) {
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
            if (formShown_)
                editor_.ConnectionFlag(ConnectionText(), field, on);
        });
    };
    flag(f.everyday, C::EverydayFlag);
    flag(f.saturday, C::SaturdayFlag);
    flag(f.sunday, C::SundayFlag);
    // The per-minute Saturday box also records when it loses the focus, as it
    // always has; recording on the click as well keeps a tick followed straight
    // by "返回" from being lost.
    if (f.saturday->objectName() == "cekSaturday")
        f.saturday->installEventFilter(this);
    connect(f.holiday, &QCheckBox::toggled, this, [this](bool on) {
        if (!formShown_)
            return;
        editor_.ConnectionHoliday(ConnectionText(), on, clock_.Now());
        HolidayChanged();
    });
}

QWidget* FrmSettings::BuildTelTab()
{
    auto* tab = new QWidget;
    tab->setObjectName("SSTab1_1");
    auto* layout = new QVBoxLayout(tab);
    auto* grid = new QGridLayout;
    otnTelUnit_[0] = new QRadioButton("每一分钟", tab);
    otnTelUnit_[0]->setObjectName("otnTelUnit_0");
    otnTelUnit_[1] = new QRadioButton("每三分钟", tab);
    otnTelUnit_[1]->setObjectName("otnTelUnit_1");
    txtTelFee_ = TextBox("txtTelFee", "0.12", tab);
    txtTelHalf_ = TextBox("txtTelHalf", "0.03", tab);
    grid->addWidget(otnTelUnit_[0], 0, 0);
    grid->addWidget(otnTelUnit_[1], 1, 0);
    grid->addWidget(Label("为一个电话,每个电话为", tab), 0, 1, 2, 1);
    grid->addWidget(txtTelFee_, 0, 2, 2, 1);
    grid->addWidget(Label("元", tab), 0, 3, 2, 1);
    grid->addWidget(Label("折价时间内每个电话为:", tab), 2, 0, 1, 2);
    grid->addWidget(txtTelHalf_, 2, 2);
    grid->addWidget(Label("元", tab), 2, 3);
    layout->addLayout(grid);
    Frame2_ = BuildPeriodFrame("Frame2", "Tel", "cekTelEveryDay");
    layout->addWidget(Frame2_.frame);
    layout->addStretch();

    for (int i = 0; i < 2; ++i)
        connect(otnTelUnit_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && formShown_)
                editor_.TelephoneUnit(i);
        });
    OnTextEdited(
        txtTelFee_, [this](std::string_view text) { editor_.TelephoneFee(Setting::TelFullFee, text); });
    OnTextEdited(
        txtTelHalf_, [this](std::string_view text) { editor_.TelephoneFee(Setting::TelHalfFee, text); });
    ConnectTelPeriod(Frame2_);
    return tab;
}

void FrmSettings::ConnectTelPeriod(const PeriodFrame& f)
{
    auto combo = [this](QComboBox* box, Setting field) {
        connect(box, &QComboBox::activated, this, [this, box, field](int index) {
            if (formShown_)
                editor_.TelephonePeriod(field, S(box->itemText(index)));
        });
    };
    combo(f.startHour, Setting::TelStartHour);
    combo(f.startMinute, Setting::TelStartMinute);
    combo(f.endHour, Setting::TelEndHour);
    combo(f.endMinute, Setting::TelEndMinute);
    auto flag = [this](QCheckBox* box, Setting field) {
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
            if (formShown_)
                editor_.TelephoneFlag(field, on);
        });
    };
    flag(f.everyday, Setting::TelEverydayFlag);
    flag(f.saturday, Setting::TelSaturdayFlag);
    flag(f.sunday, Setting::TelSundayFlag);
    connect(f.holiday, &QCheckBox::toggled, this, [this](bool on) {
        if (!formShown_)
            return;
        editor_.TelephoneHoliday(on, clock_.Now());
        HolidayChanged();
    });
}

QWidget* FrmSettings::BuildAlertFrame(int index)
{
    AlertFrame& a = alerts_[size_t(index)];
    const char* captions[3] = {"每天报警", "每星期报警", "每月报警"};
    const char* hours[3] = {"2", "10", "30"};
    auto name = [index](const char* base) { return QString("%1_%2").arg(base).arg(index); };

    a.frame = new QGroupBox;
    a.frame->setObjectName(name("fraAlert"));
    auto* grid = new QGridLayout(a.frame);
    a.cekAlert = new QCheckBox(captions[index], a.frame);
    a.cekAlert->setObjectName(name("cekAlert"));
    a.otnExcelTime = new QRadioButton("用时超过", a.frame);
    a.otnExcelTime->setObjectName(name("otnExcelTime"));
    a.txtHour = new QLineEdit(hours[index], a.frame);
    a.txtHour->setObjectName(name("txtHour"));
    QLabel* hourUnit = Label("小时", a.frame);
    a.otnExcelFee = new QRadioButton("费用超过", a.frame);
    a.otnExcelFee->setObjectName(name("otnExcelFee"));
    a.txtAlertFee = new QLineEdit("2", a.frame);
    a.txtAlertFee->setObjectName(name("txtAlertFee"));
    QLabel* yuan = Label("元", a.frame);
    a.cekInterval = new QCheckBox("超时后每隔", a.frame);
    a.cekInterval->setObjectName(name("cekInterval"));
    a.txtMinute = new QLineEdit("5", a.frame);
    a.txtMinute->setObjectName(name("txtMinute"));
    QLabel* minuteText = Label("分钟播放声音文件", a.frame);
    QLabel* pathLabel = Label("声音文件的路径", a.frame);
    a.txtFile = new QLineEdit(a.frame);
    a.txtFile->setObjectName(name("txtFile"));
    a.cmdSelect = new QPushButton("选择", a.frame);
    a.cmdSelect->setObjectName(name("cmdSelect"));
    a.cmdTest = new QPushButton("试听", a.frame);
    a.cmdTest->setObjectName(name("cmdTest"));

    grid->addWidget(a.cekAlert, 0, 0);
    grid->addWidget(a.otnExcelTime, 0, 1);
    grid->addWidget(a.txtHour, 0, 2);
    grid->addWidget(hourUnit, 0, 3);
    grid->addWidget(a.otnExcelFee, 0, 4);
    grid->addWidget(a.txtAlertFee, 0, 5);
    grid->addWidget(yuan, 0, 6);
    grid->addWidget(a.cekInterval, 1, 0);
    grid->addWidget(a.txtMinute, 1, 1);
    grid->addWidget(minuteText, 1, 2, 1, 3);
    grid->addWidget(pathLabel, 2, 0);
    grid->addWidget(a.txtFile, 2, 1, 1, 4);
    grid->addWidget(a.cmdSelect, 2, 5);
    grid->addWidget(a.cmdTest, 2, 6);

    a.rowWidgets = {a.otnExcelTime, a.txtHour, hourUnit, a.otnExcelFee, a.txtAlertFee, yuan, a.cekInterval,
        a.txtMinute, minuteText};
    a.pathWidgets = {pathLabel, a.txtFile, a.cmdSelect, a.cmdTest};
    ConnectAlertFrame(index);
    return a.frame;
}

void FrmSettings::ConnectAlertFrame(int index)
{
    AlertFrame& a = alerts_[size_t(index)];
    connect(a.cekAlert, &QCheckBox::toggled, this, [this, index](bool on) {
        if (!formShown_)
            return;
        EnableAlertFrame(index);
        editor_.AlertCheck(index, on);
    });
    connect(a.cekInterval, &QCheckBox::toggled, this, [this, index](bool on) {
        if (!formShown_)
            return;
        EnableAlertFrame(index);
        editor_.AlertWaveCheck(index, on);
    });
    connect(a.otnExcelTime, &QRadioButton::toggled, this, [this, index](bool on) {
        if (on && formShown_)
            editor_.AlertStandard(index, 0);
    });
    connect(a.otnExcelFee, &QRadioButton::toggled, this, [this, index](bool on) {
        if (on && formShown_)
            editor_.AlertStandard(index, 1);
    });
    auto text = [this, index](QLineEdit* box, void (SettingsEditor::*edit)(int, std::string_view)) {
        OnTextEdited(box, [this, index, edit](std::string_view t) { (editor_.*edit)(index, t); });
    };
    text(a.txtHour, &SettingsEditor::AlertHours);
    text(a.txtAlertFee, &SettingsEditor::AlertFee);
    text(a.txtMinute, &SettingsEditor::AlertMinutes);
    text(a.txtFile, &SettingsEditor::AlertFilePath);
    connect(a.cmdSelect, &QPushButton::clicked, this, [this, index] { cmdSelect_Click(index); });
    connect(a.cmdTest, &QPushButton::clicked, this, [this, index] { cmdTest_Click(index); });
}

QWidget* FrmSettings::BuildAlertTab()
{
    auto* tab = new QWidget;
    tab->setObjectName("SSTab1_2");
    auto* layout = new QVBoxLayout(tab);
    for (int i = 0; i < 3; ++i)
        layout->addWidget(BuildAlertFrame(i));
    layout->addStretch();
    return tab;
}

QWidget* FrmSettings::BuildResetTab()
{
    auto* tab = new QWidget;
    tab->setObjectName("SSTab1_3");
    auto* layout = new QVBoxLayout(tab);

    cboResetWeek_ = new QComboBox(tab);
    cboResetWeek_->setObjectName("cboResetWeek");
    // Only a picked weekday is recorded, so the box offers the seven and nothing else.
    cboResetWeek_->setEditable(false);
    cboResetWeek_->addItems({"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"});
    cboResetWeek_->setCurrentIndex(0);
    layout->addLayout(LabelledRow("每个星期的", cboResetWeek_, "号凌晨0点正将星期值自动置零", tab));

    txtResetMonth_ = TextBox("txtResetMonth", "1", tab);
    layout->addLayout(LabelledRow("每个月的", txtResetMonth_, "号凌晨0点正将月值自动置零", tab));

    auto* buttons = new QGridLayout;
    const char* captions[4] = {
        "现在将今天的值置零", "现在将这个星期的值置零", "现在将这个月的值置零", "现在将不定时间段的值置零"};
    for (int i = 0; i < 4; ++i) {
        cmdReset_[size_t(i)] = new QPushButton(captions[i], tab);
        cmdReset_[size_t(i)]->setObjectName(QString("cmdReset_%1").arg(i));
        buttons->addWidget(cmdReset_[size_t(i)], i / 2, i % 2);
        connect(cmdReset_[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdReset_Click(i); });
    }
    layout->addLayout(buttons);

    txtAddSecond_ = TextBox("txtAddSecond", "10", tab);
    layout->addLayout(LabelledRow("拨号成功后", txtAddSecond_, "秒接入网络", tab));
    QLabel* explanation = Label("从modem接通到网络响应有一段延迟的时间，而程序是从网络的响应开始计时的，"
                                "设置这个数值会更精确地计算你的上网时间。",
        tab);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    layout->addStretch();

    connect(cboResetWeek_, &QComboBox::activated, this, [this](int index) { editor_.ResetWeek(index); });
    OnTextEdited(txtResetMonth_, [this](std::string_view text) { editor_.ResetMonth(text); });
    OnTextEdited(txtAddSecond_, [this](std::string_view text) { editor_.ProAdd(text); });
    return tab;
}

// ---------------------------------------------------------------- filling

void FrmSettings::OnTextEdited(QLineEdit* box, std::function<void(std::string_view)> record)
{
    // Filling the form sets the texts too; only the user's edits are recorded.
    connect(box, &QLineEdit::textChanged, this, [this, record = std::move(record)](const QString& text) {
        if (formShown_)
            record(S(text));
    });
}

std::string FrmSettings::ConnectionText() const
{
    return S(cboConnectionName_->currentText());
}

void FrmSettings::InitalFeeTab()
{
    for (const ConnectionTariff& t : program_.Tariffs.Connections)
        cboConnectionName_->addItem(Q(t.Name));
    ShowConnectionFee(1);
    cboConnectionName_->setCurrentIndex(cboConnectionName_->count() > 0 ? 0 : -1);
}

template <typename Tariff> void FrmSettings::FillPeriodFrame(const PeriodFrame& f, const Tariff& t)
{
    SetChecked(f.everyday, t.EverydayFlag);
    SetChecked(f.saturday, t.SaturdayFlag);
    SetChecked(f.sunday, t.SundayFlag);
    f.startHour->setEditText(Number(t.StartHour));
    f.startMinute->setEditText(Number(t.StartMinute));
    f.endHour->setEditText(Number(t.EndHour));
    f.endMinute->setEditText(Number(t.EndMinute));
    SetChecked(f.holiday, t.HolidayFlag);
}

void FrmSettings::ShowConnectionFee(int index)
{
    if (index < 1 || index > program_.Tariffs.ConnectionCount())
        return;
    // A copy: the handlers the filling starts write the shown values back.
    const ConnectionTariff t = program_.Tariffs.Connection(index);
    switch (t.FeeType) {
    case 0:
        EnableNetFee(false);
        EnableFixFee(false);
        break;
    case 1:
        EnableNetFee(true);
        EnableFixFee(false);
        txtNetFee_->setText(FeeText(t.FullFee));
        txtHalfFee_->setText(FeeText(t.HalfFee));
        FillPeriodFrame(Frame1_, t);
        break;
    case 2:
        EnableNetFee(false);
        EnableFixFee(true);
        txtExcelHour_->setText(Number(t.FixHour));
        txtExcelFee_->setText(FeeText(t.FixFee));
        txtExcelMinute_->setText(FeeText(t.ExcelFee));
        txtFixHalf_->setText(FeeText(t.HalfFee));
        FillPeriodFrame(Frame3_, t);
        break;
    default:
        // Only a hand-edited file gets here: nothing is offered until the user
        // chooses a fee type, which then writes a valid one.
        EnableNetFee(false);
        EnableFixFee(false);
        ClearFeeTypeChoice();
        return;
    }
    otnFeetype_[size_t(t.FeeType)]->setChecked(true);
}

void FrmSettings::ClearFeeTypeChoice()
{
    for (QRadioButton* b : otnFeetype_) {
        if (!b->isChecked())
            continue;
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
}

void FrmSettings::EnableFeeGroup(const PeriodFrame& f, std::initializer_list<QWidget*> boxes,
    const std::vector<QWidget*>& labels, bool enabled)
{
    for (QWidget* w : boxes)
        w->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.holiday, f.everyday, f.saturday, f.sunday, f.startHour, f.startMinute, f.endHour, f.endMinute})
        w->setEnabled(enabled);
    for (QWidget* w : labels)
        w->setEnabled(enabled);
    for (QWidget* w : f.labels)
        w->setEnabled(enabled);
}

void FrmSettings::EnableNetFee(bool enabled)
{
    EnableFeeGroup(Frame1_, {txtNetFee_, txtHalfFee_}, netLabels_, enabled);
}

void FrmSettings::EnableFixFee(bool enabled)
{
    EnableFeeGroup(Frame3_, {txtExcelHour_, txtExcelFee_, txtExcelMinute_, txtFixHalf_}, fixLabels_, enabled);
}

void FrmSettings::IniTelTab()
{
    const TelephoneTariff t = program_.Tariffs.Telephone;
    txtTelFee_->setText(FeeText(t.FullFee));
    txtTelHalf_->setText(FeeText(t.HalfFee));
    FillPeriodFrame(Frame2_, t);
    // Set here only: ticking "每天" later leaves the combos as they opened.
    for (QComboBox* c : {Frame2_.startHour, Frame2_.startMinute, Frame2_.endHour, Frame2_.endMinute})
        c->setEnabled(t.EverydayFlag != 0);
    otnTelUnit_[t.TelUnit == 60 ? 0 : 1]->setChecked(true);
}

void FrmSettings::IniAlertTab()
{
    const AlertSetting* settings[3]
        = {&program_.Alerts.DayAlert, &program_.Alerts.WeekAlert, &program_.Alerts.MonthAlert};
    for (int i = 0; i < 3; ++i) {
        const AlertSetting a = *settings[i];
        AlertFrame& f = alerts_[size_t(i)];
        SetChecked(f.cekAlert, a.Check);
        f.txtHour->setText(Number(a.Hours));
        f.txtAlertFee->setText(FeeText(a.Fee));
        SetChecked(f.cekInterval, a.WaveCheck);
        f.txtMinute->setText(Number(a.Minutes));
        f.txtFile->setText(Q(a.FilePath));
        (a.AlertStandard != 0 ? f.otnExcelFee : f.otnExcelTime)->setChecked(true);
        EnableAlertFrame(i);
    }
}

void FrmSettings::EnableAlertFrame(int index)
{
    if (index < 0 || index > 2)
        return;
    AlertFrame& f = alerts_[size_t(index)];
    const bool on = f.cekAlert->isChecked();
    for (QWidget* w : f.rowWidgets)
        w->setEnabled(on);
    const bool path = on && f.cekInterval->isChecked();
    for (QWidget* w : f.pathWidgets)
        w->setEnabled(path);
}

void FrmSettings::IniResetTab()
{
    const ResetSettings& r = program_.Reset;
    txtAddSecond_->setText(Number(r.ProAddSeconds));
    txtResetMonth_->setText(Number(r.ResetMonthDay));
    // A weekday outside the week (a hand-edited file) shows no day until one is picked.
    cboResetWeek_->setCurrentIndex(r.ResetWeekDay >= 0 && r.ResetWeekDay <= 6 ? r.ResetWeekDay : -1);
}

// ---------------------------------------------------------------- handlers

void FrmSettings::cboConnectionName_Click()
{
    ShowConnectionFee(program_.Tariffs.FindConnectionTariff(ConnectionText()));
}

void FrmSettings::otnFeetype_Click(int index)
{
    if (!formShown_)
        return;
    const std::string connection = ConnectionText();
    const int i = editor_.SetFeeType(connection, index);
    ShowConnectionFee(i);
    editor_.WriteFeeType(connection, index);
}

void FrmSettings::HolidayChanged()
{
    if (main_)
        main_->RefreshMenusFromTariffs();
}

void FrmSettings::cmdSelect_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    QLineEdit* box = alerts_[size_t(index)].txtFile;
    const QString chosen = chooseFile_ ? chooseFile_(this, box->text()) : QString();
    // A cancelled dialog leaves the path as it was.
    if (!chosen.isEmpty())
        box->setText(chosen);
}

void FrmSettings::cmdTest_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    // Blanks after the name would name no file.
    QString path = alerts_[size_t(index)].txtFile->text();
    while (path.endsWith(' '))
        path.chop(1);
    sound_.Play(path);
}

void FrmSettings::cmdReset_Click(int index)
{
    if (index < 0 || index > 3)
        return;
    if (dialup_.IsConnected()) {
        ShowMessage(this, kTitle, "正在连接时不能置零");
        return;
    }
    if (AskOkCancel(this, kResetQuestions[index][1], kResetQuestions[index][0]) != QMessageBox::Ok)
        return;
    StatisticsFile& file = program_.StatsFile;
    const bool wasOpen = file.IsOpen();
    std::string error;
    bool written = wasOpen || file.Open(&error);
    // Memory is zeroed even when the file cannot take it, so the main window
    // shows what the user asked for; the user is told the file kept the old values.
    written = program_.Stats.ResetPeriod(
                  file, static_cast<Period>(index), clock_.Now(), written ? &error : nullptr)
        && written;
    if (!wasOpen)
        file.Close();
    if (!written)
        ShowMessage(this, kTitle,
            QString("统计数值已置零，但无法写入统计文件 %1：%2")
                .arg(QString::fromStdString(file.Path().string()), Q(error)),
            QMessageBox::Warning);
    if (main_ && program_.SelectedPeriod == index)
        main_->ShowOptionButton(index);
}

// ---------------------------------------------------------------- events

void FrmSettings::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    formShown_ = true;
}

void FrmSettings::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    formShown_ = true;
}

void FrmSettings::closeEvent(QCloseEvent* event)
{
    if (main_)
        main_->RestoreMainWindow();
    event->accept();
}

bool FrmSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Frame1_.saturday && event->type() == QEvent::FocusOut && formShown_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            editor_.ConnectionFlag(ConnectionText(), C::SaturdayFlag, Frame1_.saturday->isChecked());
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tollix
