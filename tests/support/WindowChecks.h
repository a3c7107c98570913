#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "common/ScreenAreas.h"
#include "common/WindowPlaces.h"

// Checks shared by the windows that the user may resize and that remember their places. Each
// returns what went wrong, empty when nothing did.
namespace WindowChecks {

// Shown and then made 300 by 200 pixels larger: each control in `growing` grows both ways, each
// in `keeping` keeps its size.
inline QString growthProblems(QWidget* window, const QStringList& growing,
                              const QStringList& keeping) {
    window->show();
    QCoreApplication::processEvents();
    if (window->minimumSize() == window->maximumSize()) {
        return QStringLiteral("the window has a fixed size");
    }
    QHash<QString, QSize> before;
    for (const QString& name : growing + keeping) {
        auto* control = window->findChild<QWidget*>(name);
        if (control == nullptr) {
            return QStringLiteral("no ") + name;
        }
        before.insert(name, control->size());
    }
    window->resize(window->size() + QSize(300, 200));
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
    QStringList problems;
    for (const QString& name : growing) {
        const QSize now = window->findChild<QWidget*>(name)->size();
        if (now.width() <= before[name].width() || now.height() <= before[name].height()) {
            problems << name + QStringLiteral(" did not grow");
        }
    }
    for (const QString& name : keeping) {
        if (window->findChild<QWidget*>(name)->size() != before[name]) {
            problems << name + QStringLiteral(" changed its size");
        }
    }
    return problems.join(QStringLiteral(", "));
}

// With the window places installed and a place remembered for the window's class (a little
// larger than its first size), a window made by `make` opens there at that size.
template <class Make>
QString reopenProblems(const QString& windowClass, const QSize& firstSize, Make make,
                       const QRect& screen = QRect(0, 0, 1280, 1024)) {
    QTemporaryDir dir;
    ScreenAreas::inject(screen, screen.adjusted(0, 0, 0, -30));
    const QSize size = firstSize + QSize(30, 20);
    {
        QFile file(dir.filePath(WindowPlaces::FileName));
        if (!file.open(QIODevice::WriteOnly)) {
            return QStringLiteral("cannot write the places");
        }
        file.write(QStringLiteral("[%1]\nLeft=40\nTop=50\nWidth=%2\nHeight=%3\n")
                       .arg(windowClass)
                       .arg(size.width())
                       .arg(size.height())
                       .toUtf8());
    }
    WindowPlaces places(dir.path() + u'/');
    WindowPlaces::setShared(&places);
    std::unique_ptr<QWidget> window(make());
    QString problem;
    if (window->pos() != QPoint(40, 50) || window->size() != size) {
        problem = QStringLiteral("opened at %1,%2 %3x%4")
                      .arg(window->x())
                      .arg(window->y())
                      .arg(window->width())
                      .arg(window->height());
    }
    window.reset();
    WindowPlaces::setShared(nullptr);
    ScreenAreas::reset();
    return problem;
}

}  // namespace WindowChecks
