// The yardstick for the meter's footprint: the least a Qt Widgets program with
// one visible window costs, built with the same compiler, flags and Qt as the
// meter. scripts/measure-footprint.sh runs both side by side. It shows a line
// of Chinese, as the meter does, so that both pay for the same CJK font (over
// 3 MB resident) and the comparison shows what the meter itself adds.
//
// With --tick it also wakes every second and does nothing, as the meter's
// always-on monitor timer does: the least CPU such a program can idle at.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("bare_window");
    window.setCentralWidget(new QLabel(QString::fromUtf8("空白窗口"), &window));
    window.show();
    QTimer tick;
    if (QApplication::arguments().contains("--tick")) {
        QObject::connect(&tick, &QTimer::timeout, [] {});
        tick.start(1000);
    }
    return QApplication::exec();
}
