#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "app/TZEMForm02.h"
#include "common/DataFolder.h"
#include "common/ScreenAreas.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"

// A scratch DAT folder and a 1280 x 1024 screen whose task bar leaves a work area ending at 994,
// for the lifetime of the object; controllers started here have their game clock stopped.
class ControllerSandbox {
public:
    static inline const QRect Desktop{0, 0, 1280, 1024};
    static inline const QRect WorkArea{0, 0, 1280, 994};

    ControllerSandbox() : m_dat(m_dir.path() + QStringLiteral("/DAT/")) {
        ScreenAreas::inject(Desktop, WorkArea);
        QDir().mkpath(m_dat);
        DataFolder::setOverride(m_dat);
    }
    ~ControllerSandbox() {
        DataFolder::setOverride(QString());
        ScreenAreas::reset();
    }
    ControllerSandbox(const ControllerSandbox&) = delete;
    ControllerSandbox& operator=(const ControllerSandbox&) = delete;

    const QString& dat() const { return m_dat; }
    QString root() const { return m_dir.path(); }

    static std::unique_ptr<TZEMForm02> start() {
        auto controller = std::make_unique<TZEMForm02>();
        if (controller->gameClock()) {
            controller->gameClock()->Timer()->SetEnabled(false);
        }
        return controller;
    }

    // The visible top-level window with that caption, or null.
    static QWidget* window(const QString& caption) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->windowTitle() == caption && w->isVisible()) {
                return w;
            }
        }
        return nullptr;
    }

private:
    QTemporaryDir m_dir;
    QString m_dat;
};
