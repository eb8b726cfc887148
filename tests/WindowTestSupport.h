#pragma once

// Helpers shared by the window tests: answering message boxes, finding
// controls and windows, clicking them, and the program's windows on the demo
// line. Files and dates: TestSupport.h.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ManualClock.h"
#include "TestSupport.h"
#include "dialup/DialupService.h"
#include "gui/WindowRegistry.h"
#include "gui/common/SoundPlayer.h"
#include "gui/main/FrmMain.h"
#include "meter/Program.h"

namespace tollix::test {

// What a message box showed before it was answered.
struct SeenBox {
    QString title;
    QString text;
    QStringList buttons;
};

// Answers the modal message boxes the code under test opens, one answer per
// box in order, and records each box. A box beyond the prepared answers (or
// without the answer's button) is rejected, so it reports its escape button,
// and is still recorded: a question that should not come fails the test
// instead of hanging it.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(std::deque<QMessageBox::StandardButton> answers = {})
        : answers_(std::move(answers))
    {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(5);
    }
    QList<SeenBox> seen;

    QStringList Texts() const
    {
        QStringList texts;
        for (const SeenBox& box : seen)
            texts << box.text;
        return texts;
    }

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        SeenBox record{box->windowTitle(), box->text(), {}};
        for (QAbstractButton* b : box->buttons())
            record.buttons << b->text();
        seen << record;
        QAbstractButton* answer = answers_.empty() ? nullptr : box->button(answers_.front());
        if (!answers_.empty())
            answers_.pop_front();
        answer ? answer->click() : box->reject();
    }
    std::deque<QMessageBox::StandardButton> answers_;
    QTimer timer_;
};

// A small dialog: the dialog window type, one fixed size, no minimise or maximise button.
inline bool IsFixedDialog(const QWidget* w)
{
    const Qt::WindowFlags flags = w->windowFlags();
    return w->windowType() == Qt::Dialog && w->minimumSize() == w->maximumSize()
        && !(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

// The visible top-level window with that objectName, or nullptr.
template <typename T = QWidget> T* VisibleTopLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return qobject_cast<T*>(w);
    return nullptr;
}

// The named control; a missing one ends the test program with its name.
template <typename T> T* Child(const QObject* parent, const QString& name)
{
    T* w = parent->findChild<T*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// Clicked near the left edge: a check box or option button takes a click only
// on its mark and caption, which a wide control's centre can miss.
inline void ClickLeft(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(6, button->width() / 2), button->height() / 2));
}

// A data folder (tollix.ini written first when given), the demo line (or the
// real dial-up service) on a hand-moved clock, the settings loaded as at start
// for the phonebook given (the line's own when none is), and the window
// registry on them.
struct ProgramWorld {
    explicit ProgramWorld(DateTime start, const std::string& iniUtf8 = "",
        std::vector<std::string> names = {}, bool demoLine = true)
        : clock(start)
        , dialup(CreateDialupService(demoLine, clock))
        , phonebook(names.empty() ? dialup->Phonebook().Entries : std::move(names))
    {
        if (!iniUtf8.empty())
            WriteFile(Folder() / "tollix.ini", iniUtf8);
        Load();
    }
    // Loads everything from the data folder again, as a new start of the program.
    void Load()
    {
        windows.reset();
        program = std::make_unique<Program>(Folder());
        LoadSettings(*program, phonebook, clock.Now());
        windows = std::make_unique<WindowRegistry>(*program, *dialup, clock, sound);
    }
    // Loaded again and the main window started, its own timers stopped: the
    // test ticks by hand after moving the clock.
    void Start()
    {
        Load();
        main = &windows->Main();
        main->Start();
        Child<QTimer>(main, "tmrSystemtime")->stop();
        Child<QTimer>(main, "tmrStartOnce")->stop();
    }
    std::filesystem::path Folder() const { return dir.path().toStdString(); }

    QTemporaryDir dir;
    ManualClock clock;
    std::unique_ptr<DialupService> dialup;
    std::vector<std::string> phonebook;
    SoundPlayer sound;
    std::unique_ptr<Program> program;
    std::unique_ptr<WindowRegistry> windows;
    FrmMain* main = nullptr;
};

}  // namespace tollix::test
