#include "gui/history/FrmHistory.h"
#include "history/ConnectionLog.h"

#include "WindowTestSupport.h"

#include <QtWidgets>

#include <filesystem>

using namespace tollix;
using namespace tollix::test;
namespace fs = std::filesystem;

namespace {

// Wednesday 15 May 2024, noon.
const DateTime kNow = At(2024, 5, 15, 12);

// The texts of those columns of a grid row; an empty cell reads "".
QStringList Cells(QTableWidget* grid, int row, std::initializer_list<int> columns)
{
    QStringList texts;
    for (int c : columns)
        texts << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return texts;
}

// Hourly connections from 1 January 2024, Home and Work in turn, oldest first.
std::vector<ConnectionLogEntry> Numbered(int count)
{
    std::vector<ConnectionLogEntry> log;
    for (int i = 0; i < count; ++i)
        log.push_back({FixName15(i % 2 ? "Work" : "Home"), At(2024, 1, 1).AddSeconds(int64_t(i) * 3600),
            60 + i, *ParseMoney("0.5"), Money::FromYuan(1), 1});
    return log;
}

}  // namespace

class FrmHistoryTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ProgramWorld> world_;
    QPointer<FrmHistory> window_;

    // A fresh data folder with the phonebook Home, Work and the given log;
    // the window opened on it unless told not to.
    void Prepare(const std::vector<ConnectionLogEntry>& oldestFirst, int logNumber = 50, bool open = true)
    {
        world_ = std::make_unique<ProgramWorld>(kNow,
            "[Max Log Length]\r\nLog Number=" + std::to_string(logNumber) + "\r\n",
            std::vector<std::string>{"Home", "Work"});
        for (const ConnectionLogEntry& e : oldestFirst)
            QVERIFY(AppendLogEntry(world_->program->LogPath, e));
        if (open)
            window_ = world_->windows->OpenHistory();
    }
    QTableWidget* Grid() const { return Child<QTableWidget>(window_, "MSFlexGrid1"); }
    QComboBox* Combo(const char* name) const { return Child<QComboBox>(window_, name); }
    QString Status() const { return Child<QLabel>(window_, "StatusBar1_Panel1")->text(); }
    void Click(const QString& caption)
    {
        for (QAction* a : window_->findChildren<QAction*>())
            if (a->objectName().startsWith("Toolbar1_") && a->text() == caption)
                return a->trigger();
        QFAIL(qPrintable("no toolbar button " + caption));
    }

private slots:
    void cleanup()
    {
        world_.reset();
        qunsetenv("TOLLIX_PRINT_TO_PDF");
    }

    // The filters reach the grid, newest first with the totals above; which
    // entries a filter keeps, their numbers and their totals are the history
    // filter's to pin. Headers and totals stay at the top however the entries
    // scroll, and a column the user widens stays so across filters.
    void filtersTotalsAndFixedRows()
    {
        Prepare(Numbered(60));
        QTableWidget* grid = Grid();
        // The program's own '.' whatever the desktop's locale (this test runs under a German one).
        QCOMPARE(Cells(grid, 2, {2, 5}),
            (QStringList{QString::fromStdString(DateTimeText(At(2024, 1, 3, 11))), "0.5"}));
        QCOMPARE(Cells(grid, 1, {0, 3}), (QStringList{"合计", "1小时18分45秒"}));
        auto* fixed = Child<QTableView>(window_, "MSFlexGrid1_FixedRows");
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        QTRY_VERIFY(grid->verticalScrollBar()->maximum() > 0);
        grid->scrollToBottom();
        QVERIFY(grid->verticalScrollBar()->value() > 0);
        QVERIFY(fixed->isVisible());
        QCOMPARE(fixed->geometry().top(), grid->frameWidth());
        QCOMPARE(fixed->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("连接名称"));
        QCOMPARE(fixed->indexAt(QPoint(2, 2)).data().toString(), QStringLiteral("合计"));
        fixed->horizontalHeader()->resizeSection(1, 200);
        Combo("cboRASname")->setCurrentIndex(1);
        QCOMPARE(Status(), QStringLiteral("共有 25 条纪录"));
        QCOMPARE(grid->columnWidth(1), 200);
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
        Combo("cboShowTime")->setCurrentIndex(1);
        QCOMPARE(Status(), QStringLiteral("共有 0 条纪录"));
    }

    void shorterLogAsksFirst()
    {
        Prepare(Numbered(25));
        QComboBox* length = Combo("cboLastItem");
        {
            BoxAnswerer answerer({QMessageBox::Cancel});
            length->setCurrentIndex(0);
            QCOMPARE(answerer.Texts(), QStringList{"这将把第10条以后的记录都删除,你肯定吗?"});
        }
        QCOMPARE(world_->program->LogNumber, int16_t(50));
        QCOMPARE(length->currentText(), QStringLiteral("50条记录"));

        // Entries a filter hides still count: none is from today, yet it asks.
        Combo("cboShowTime")->setCurrentIndex(1);
        {
            BoxAnswerer answerer({QMessageBox::Ok});
            length->setCurrentIndex(0);
            QCOMPARE(answerer.seen.size(), 1);
        }
        QCOMPARE(world_->program->LogNumber, int16_t(10));
        Combo("cboShowTime")->setCurrentIndex(0);
        QCOMPARE(Status(), QStringLiteral("共有 10 条纪录"));

        // A longer log is saved without asking.
        BoxAnswerer none;
        length->setCurrentIndex(4);
        QVERIFY(none.seen.isEmpty());
        QCOMPARE(world_->program->LogNumber, int16_t(1000));
    }

    // Deleting leaves an empty log: the headers and an empty totals row.
    // Leaving the window is the main window's test.
    void deleteLog()
    {
        Prepare(Numbered(5));
        QCOMPARE(Combo("cboRASname")->itemText(2), QStringLiteral("仅显示Work的记录"));
        Combo("cboRASname")->setCurrentIndex(1);
        BoxAnswerer answerer({QMessageBox::Ok});
        Click("删除记录");
        QCOMPARE(answerer.Texts(), QStringList{"你肯定要删除所有的记录吗？"});
        QVERIFY(!fs::exists(world_->program->LogPath));
        QCOMPARE(Grid()->rowCount(), 2);
        QCOMPARE(Cells(Grid(), 1, {0, 3, 6}), (QStringList{"合计", "", "0"}));
        QCOMPARE(Status(), QStringLiteral("共有 0 条纪录"));
        QCOMPARE(Combo("cboRASname")->currentIndex(), 0);
    }

    // How a damaged line is found and that the file is kept is the log's to
    // pin; the window tells it once and shows no entries.
    void damagedLineIsReported()
    {
        Prepare({}, 50, false);
        WriteFile(world_->program->LogPath, "\"Home           \",abc,#2024-01-01#,1,1,1\r\n");
        BoxAnswerer answerer;
        window_ = world_->windows->OpenHistory();
        QCOMPARE(answerer.seen.size(), 1);
        QVERIFY2(answerer.seen[0].text.contains("第 1 行"), qPrintable(answerer.seen[0].text));
        QCOMPARE(Status(), QStringLiteral("共有 0 条纪录"));
    }

    // A printer that fails is told after the question; a working one prints
    // the entries shown.
    void printing()
    {
        std::vector<ConnectionLogEntry> log = Numbered(120);
        log.back().NetFee = *ParseMoney("1234790.5407");
        Prepare(log, 500);
        qputenv("TOLLIX_PRINT_TO_PDF", (world_->dir.path() + "/no/such/folder/out.pdf").toUtf8());
        {
            BoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});
            Click("打印记录");
            // The box shows the question's CR LF CR as one empty line.
            QCOMPARE(answerer.Texts(),
                (QStringList{"你要将当前显示的纪录打印出来吗?\n\n按“确定”键开始打印,按“取消”键取消打印",
                    "你的系统中没有安装打印机，或者打印机有问题。"}));
        }
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        const QString pdf = world_->dir.path() + "/history.pdf";
        qputenv("TOLLIX_PRINT_TO_PDF", pdf.toUtf8());
        BoxAnswerer ok({QMessageBox::Ok});
        Click("打印记录");
        const auto pdftotext = [&pdf](QStringList options) {
            QProcess p;
            p.start("pdftotext", options << pdf << "-");
            p.waitForFinished(30000);
            return QString::fromUtf8(p.readAllStandardOutput());
        };
        // pdftotext does not keep the blanks between Chinese and digits.
        const QStringList pages = pdftotext({}).remove(' ').split('\f', Qt::SkipEmptyParts);
        // 120 entries need more than one page: the title and totals on the first
        // only, a number on each.
        QVERIFY2(pages.size() >= 2, qPrintable(pages.join('\n')));
        QVERIFY(pages[0].contains("合计"));
        for (int i = 0; i < pages.size(); ++i) {
            QVERIFY2(pages[i].contains(QString("第%1页").arg(i + 1)), qPrintable(pages[i]));
            QCOMPARE(pages[i].contains("上网历史记录"), i == 0);
        }
        QCOMPARE(pages.join('\n').count(QString::fromStdString(DateTimeText(At(2024, 1, 1)))), 1);

        // A long number is printed whole and inside its 1020-twip (51 pt) column.
        const QString words = pdftotext({"-bbox", "-f", "1", "-l", "1"});
        const QRegularExpression word(
            R"re(xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)"[^>]*>(\d{6,}\.\d+)<)re");
        int longNumbers = 0;
        for (const QRegularExpressionMatch& m : word.globalMatch(words)) {
            ++longNumbers;
            QVERIFY2(m.captured(2).toDouble() - m.captured(1).toDouble() <= 51, qPrintable(m.captured(0)));
        }
        QVERIFY2(words.contains("1234790.5407") && longNumbers >= 4, qPrintable(words.left(2000)));
    }
};

QTEST_MAIN(FrmHistoryTest)
#include "FrmHistoryTest.moc"
