// Start-up to the controller shown, the 120 hand bitmaps included: the controller is built in a
// fresh process the way main() builds it, against a scratch DAT folder holding the sample item
// database, and the wall time until its first paint is printed (median of several processes is
// taken by bench/run).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "app/TZEMForm02.h"
#include "app/TZEMsplash.h"
#include "bench/app/ScratchProgram.h"
#include "common/DataFolder.h"
#include "common/Fonts.h"
#include "common/Messages.h"

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAMU"));
    const ScratchProgram scratch;
    const qint64 setup = clock.nsecsElapsed();
    Fonts::registerSubstitutions();
    auto* splash = new TZEMsplash();
    splash->showAndPaint();
    TZEMForm02 controller;
    controller.show();
    controller.repaint();
    QCoreApplication::processEvents();
    const qint64 shown = clock.nsecsElapsed();
    std::printf("startup_ms %.1f\n", double(shown - setup) / 1e6);
    return 0;
}
