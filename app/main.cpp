#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QPointer>

#include "app/DesktopPlatform.h"
#include "app/QtTranslations.h"
#include "app/SessionEnd.h"
#include "app/SingleInstance.h"
#include "app/TZEMForm02.h"
#include "app/TZEMsplash.h"
#include "common/DataFolder.h"
#include "common/Fonts.h"
#include "common/MessageBoxes.h"
#include "resources/Artwork.h"

int main(int argc, char* argv[]) {
    DesktopPlatform::apply();  // before the platform is loaded with the application object
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAMU"));
    QApplication::setQuitOnLastWindowClosed(false);
    QtTranslations::install(app);
    MessageBoxes::install();

    Fonts::setApplicationFont();  // also the font of a box that refuses this start

    // A second start on the same data folder brings the running controller forward and ends.
    SingleInstance instance(DataFolder::path());
    if (!instance.claim()) {
        return 0;
    }
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(
        Artwork::image(QStringLiteral("tamu"), QSize(Artwork::iconSize, Artwork::iconSize)))));

    // The splash stands while the controller builds its shared objects; it releases itself when
    // another window takes the activation.
    QPointer<TZEMsplash> splash = new TZEMsplash();
    splash->showAndPaint();

    TZEMForm02 controller;
    QObject::connect(&controller, &TZEMForm02::ended, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::activationRequested, &controller, [&controller] {
        controller.showNormal();
        controller.raise();
        controller.activateWindow();
    });
    // Logout, shutdown and signals close as the end button does (until here they lose nothing).
    SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &SessionEnd::requested, &controller,
                     &TZEMForm02::closeForSession);
    QObject::connect(&controller, &TZEMForm02::ended, &sessionEnd, &SessionEnd::saved);
    controller.show();
    controller.raise();
    controller.activateWindow();
    // A Wayland compositor need not hand the activation to the controller (nor take it from the
    // splash): there the splash goes once the controller is shown.
    if (splash && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        splash->FormDeactivate();
    }
    return QApplication::exec();
}
