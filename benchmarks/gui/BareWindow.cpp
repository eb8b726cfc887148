// The yardstick for the meter's footprint: the least a Qt Widgets program with
// one visible window costs, built with the same compiler, flags and Qt as the
// meter. scripts/measure-footprint.sh runs both side by side. It shows a line
// of Chinese, as the meter does, so that both pay for the same CJK font (over
// 3 MB resident) and the comparison shows what the meter itself adds.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("bare_window");
    window.setCentralWidget(new QLabel(QString::fromUtf8("空白窗口"), &window));
    window.show();
    return QApplication::exec();
}
