// The yardstick for the meter's footprint: the least a Qt Widgets program with
// one visible window costs, built with the same compiler, flags and Qt as the
// meter. scripts/measure-footprint.sh runs both side by side.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("bare_window");
    window.setCentralWidget(new QLabel("bare_window", &window));
    window.show();
    return QApplication::exec();
}
