#include "gui/dialup/FrmDialUp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

#include "config/SettingKeys.h"
#include "dialup/DialupService.h"
#include "gui/common/MessageBoxes.h"
#include "meter/Program.h"

namespace tollix {

FrmDialUp::FrmDialUp(Program& program, DialupService& dialup, QWidget* owner)
    : QWidget(nullptr)
    , program_(program)
    , dialup_(dialup)
    , owner_(owner)
{
    setObjectName("frmDialUp");
    setWindowTitle("拨号上网");
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* layout = new QVBoxLayout(this);
    Label1_ = new QLabel("请从下面选择一个连接名称：", this);
    Label1_->setObjectName("Label1");
    cboRasList_ = new QComboBox(this);
    cboRasList_->setObjectName("cboRasList");
    // The text can be edited, but typing never adds a name to the list: only
    // phonebook entries are offered.
    cboRasList_->setEditable(true);
    cboRasList_->setInsertPolicy(QComboBox::NoInsert);
    cboRasList_->setMinimumWidth(240);
    cekSave_ = new QCheckBox("总是先显示这个连接", this);
    cekSave_->setObjectName("cekSave");
    cekSave_->installEventFilter(this);
    cmdDial_ = new QPushButton("拨号", this);
    cmdDial_->setObjectName("cmdDial");
    cmdDial_->setDefault(true);

    layout->addWidget(Label1_);
    layout->addWidget(cboRasList_);
    auto* row = new QHBoxLayout;
    row->addWidget(cekSave_);
    row->addStretch(1);
    row->addWidget(cmdDial_);
    layout->addLayout(row);

    connect(cboRasList_, &QComboBox::activated, this, &FrmDialUp::cboRasList_Click);
    connect(cmdDial_, &QPushButton::clicked, this, &FrmDialUp::cmdDial_Click);

    Form_Load();
}

FrmDialUp* FrmDialUp::ShowShared(Program& program, DialupService& dialup, QWidget* owner)
{
    static QPointer<FrmDialUp> shared;
    if (!shared) {
        shared = new FrmDialUp(program, dialup, owner);
        if (owner && owner->isVisible()) {
            shared->adjustSize();
            shared->move(owner->geometry().center() - shared->rect().center());
        }
    }
    shared->showNormal();
    shared->raise();
    shared->activateWindow();
    return shared;
}

void FrmDialUp::Form_Load()
{
    const TariffSet& tariffs = program_.Tariffs;
    cboRasList_->clear();
    for (int i = 1; i <= tariffs.ConnectionCount(); ++i)
        cboRasList_->addItem(QString::fromStdString(tariffs.Connection(i).Name));

    const int32_t remembered = ReadSettingInt(program_.Profile, Setting::ShowRASName);
    cekSave_->setChecked(remembered > 0);
    if (cboRasList_->count() == 0) {
        cboRasList_->setEditText(QString());
        return;
    }
    // A remembered entry that has since left the phonebook (or a hand-edited
    // value) falls back to the first entry.
    const int shown = remembered >= 0 && remembered < cboRasList_->count() ? remembered : 0;
    cboRasList_->setCurrentIndex(shown);
    cboRasList_->setEditText(cboRasList_->itemText(shown));
}

void FrmDialUp::cboRasList_Click(int index)
{
    cekSave_->setChecked(ReadSettingInt(program_.Profile, Setting::ShowRASName) == index);
}

int FrmDialUp::ChosenIndex() const
{
    const int index = cboRasList_->currentIndex();
    if (index >= 0 && cboRasList_->itemText(index) == cboRasList_->currentText())
        return index;
    return -1;
}

void FrmDialUp::cekSave_MouseDown()
{
    int index = ChosenIndex();
    if (index < 0) {
        if (cboRasList_->count() == 0)
            return;  // nothing to remember
        index = 0;
        cboRasList_->setCurrentIndex(0);
        cboRasList_->setEditText(cboRasList_->itemText(0));
    }
    // Written whether the press checks or clears the box.
    WriteSetting(program_.Profile, Setting::ShowRASName, std::to_string(index));
}

bool FrmDialUp::eventFilter(QObject* watched, QEvent* event)
{
    // A double click delivers its second press as a double-click event. The
    // space bar toggles the box too; without it a keyboard user could never
    // remember an entry.
    if (watched == cekSave_ && cekSave_->isEnabled()) {
        const QEvent::Type type = event->type();
        const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        const auto* key = type == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        if (press || (key && key->key() == Qt::Key_Space && !key->isAutoRepeat()))
            cekSave_MouseDown();
    }
    return QWidget::eventFilter(watched, event);
}

void FrmDialUp::cmdDial_Click()
{
    const QString text = cboRasList_->currentText();
    const TariffSet& tariffs = program_.Tariffs;
    int found = 0;
    for (int i = 1; i <= tariffs.ConnectionCount() && i <= cboRasList_->count(); ++i) {
        if (cboRasList_->itemText(i - 1).compare(text, Qt::CaseInsensitive) == 0) {
            found = i;
            break;
        }
    }
    if (found == 0) {
        // Only phonebook entries are dialled; the dialog stays open for another choice.
        const QString what = text.trimmed().isEmpty()
            ? QStringLiteral("没有选择连接。")
            : QStringLiteral("“%1”不是拨号网络中的连接。").arg(text);
        ShowMessage(
            this, "Tollix", what + QStringLiteral("请从列表中选择一个连接名称。"), QMessageBox::Warning);
        return;
    }
    const std::string name = tariffs.Connection(found).Name;
    // The dialog goes first, as the dialer may take a moment to start.
    QPointer<QWidget> owner = owner_;
    DialupService& dialup = dialup_;
    close();
    const DialResult result = dialup.DialConnection(name);
    if (!result.Started)
        ShowMessage(owner, "Tollix", QString::fromStdString(result.Error), QMessageBox::Warning);
}

}  // namespace tollix
