// The yardstick of start-up: a bare Qt Widgets program that shows one label and ends, timed
// and measured as a whole process beside bench_startup by bench/startup.py.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("TAMU"));
    label.show();
    label.repaint();
    QCoreApplication::processEvents();
    return 0;
}
