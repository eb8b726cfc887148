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
#include "gui/common/SaveFailureNotice.h"
#include "meter/Program.h"

namespace tollix {

FrmDialUp::FrmDialUp(Program& program, DialupService& dialup, QWidget* owner)
    : QWidget(nullptr,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint)
    , program_(program)
    , dialup_(dialup)
    , owner_(owner)
    , saveFailures_(new SaveFailureNotice(this))
{
    setObjectName("frmDialUp");
    setWindowTitle(tr("拨号上网"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* layout = new QVBoxLayout(this);
    caption_ = new QLabel(tr("请从下面选择一个连接名称："), this);
    caption_->setObjectName("Label1");
    entries_ = new QComboBox(this);
    entries_->setObjectName("cboRasList");
    // The text can be edited, but typing never adds a name to the list: only
    // phonebook entries are offered.
    entries_->setEditable(true);
    entries_->setInsertPolicy(QComboBox::NoInsert);
    entries_->setMinimumWidth(240);
    remember_ = new QCheckBox(tr("总是先显示这个连接"), this);
    remember_->setObjectName("cekSave");
    remember_->installEventFilter(this);
    dialButton_ = new QPushButton(tr("拨号"), this);
    dialButton_->setObjectName("cmdDial");
    dialButton_->setDefault(true);

    layout->addWidget(caption_);
    layout->addWidget(entries_);
    auto* row = new QHBoxLayout;
    row->addWidget(remember_);
    row->addStretch(1);
    row->addWidget(dialButton_);
    layout->addLayout(row);
    // A small dialog: nothing to gain from resizing, minimising or maximising it.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(entries_, &QComboBox::activated, this, &FrmDialUp::OnEntryChosen);
    connect(dialButton_, &QPushButton::clicked, this, &FrmDialUp::DialChosenEntry);

    ListEntries();
}

void FrmDialUp::ListEntries()
{
    const TariffSet& tariffs = program_.Tariffs;
    entries_->clear();
    for (int i = 1; i <= tariffs.ConnectionCount(); ++i)
        entries_->addItem(QString::fromStdString(tariffs.Connection(i).Name));

    const int32_t remembered = ReadSettingInt(program_.Profile, Setting::ShowRASName);
    if (entries_->count() == 0) {
        entries_->setEditText(QString());
        return;
    }
    // A remembered entry that has since left the phonebook (or a hand-edited
    // value) falls back to the first entry, which is not the remembered one:
    // the box stays clear.
    const bool inList = remembered >= 0 && remembered < entries_->count();
    const int shown = inList ? remembered : 0;
    remember_->setChecked(inList && remembered > 0);
    entries_->setCurrentIndex(shown);
    entries_->setEditText(entries_->itemText(shown));
}

void FrmDialUp::OnEntryChosen(int index)
{
    remember_->setChecked(ReadSettingInt(program_.Profile, Setting::ShowRASName) == index);
}

int FrmDialUp::ChosenIndex() const
{
    const int index = entries_->currentIndex();
    if (index >= 0 && entries_->itemText(index) == entries_->currentText())
        return index;
    return -1;
}

void FrmDialUp::OnRememberPressed()
{
    int index = ChosenIndex();
    if (index < 0) {
        if (entries_->count() == 0)
            return;  // nothing to remember
        index = 0;
        entries_->setCurrentIndex(0);
        entries_->setEditText(entries_->itemText(0));
    }
    // Written whether the press checks or clears the box.
    saveFailures_->Report(WriteSetting(program_.Profile, Setting::ShowRASName, std::to_string(index)));
}

bool FrmDialUp::eventFilter(QObject* watched, QEvent* event)
{
    // A double click delivers its second press as a double-click event. The
    // space bar toggles the box too; without it a keyboard user could never
    // remember an entry.
    if (watched == remember_ && remember_->isEnabled()) {
        const QEvent::Type type = event->type();
        const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        const auto* key = type == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        if (press || (key && key->key() == Qt::Key_Space && !key->isAutoRepeat()))
            OnRememberPressed();
    }
    return QWidget::eventFilter(watched, event);
}

void FrmDialUp::DialChosenEntry()
{
    const QString text = entries_->currentText();
    const TariffSet& tariffs = program_.Tariffs;
    int found = 0;
    for (int i = 1; i <= tariffs.ConnectionCount() && i <= entries_->count(); ++i) {
        if (entries_->itemText(i - 1).compare(text, Qt::CaseInsensitive) == 0) {
            found = i;
            break;
        }
    }
    if (found == 0) {
        // Only phonebook entries are dialled; the dialog stays open for another choice.
        const QString what
            = text.trimmed().isEmpty() ? tr("没有选择连接。") : tr("“%1”不是拨号网络中的连接。").arg(text);
        ShowMessage(this, "Tollix", what + tr("请从列表中选择一个连接名称。"), QMessageBox::Warning);
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
