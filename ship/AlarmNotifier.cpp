#include "ship/AlarmNotifier.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

#include "common/Fonts.h"

AlarmNotifier::~AlarmNotifier() {
    delete m_window.data();
}

void AlarmNotifier::fallBack(const QString& title, const QString& text) {
    QApplication::beep();
    if (m_trayAllowed && QSystemTrayIcon::isSystemTrayAvailable() &&
        QSystemTrayIcon::supportsMessages()) {
        if (!m_tray) {
            m_tray = new QSystemTrayIcon(QApplication::windowIcon(), this);
            m_tray->setToolTip(QStringLiteral("TAMU"));
        }
        m_tray->show();
        m_tray->showMessage(title, text, QSystemTrayIcon::Information, 15000);
        Q_EMIT delivered(Path::Tray);
        return;
    }
    if (!m_window) {
        // One small window gathers the messages until the user closes it.
        auto* window =
            new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                                     Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        window->setObjectName(QStringLiteral("AlarmWindow"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(title);
        window->setFont(Fonts::font(Fonts::PGothic, 14));
        auto* layout = new QVBoxLayout(window);
        m_windowText = new QLabel(window);
        m_windowText->setObjectName(QStringLiteral("viwAlarmText"));
        layout->addWidget(m_windowText);
        auto* close = new QPushButton(QStringLiteral("閉じる"), window);
        close->setObjectName(QStringLiteral("evtAlarmClose"));
        close->setDefault(true);
        layout->addWidget(close, 0, Qt::AlignRight);
        connect(close, &QPushButton::clicked, window, &QWidget::close);
        m_window = window;
    } else {
        m_windowText->setText(m_windowText->text() + u'\n');
    }
    m_windowText->setText(m_windowText->text() + text);
    m_window->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        m_window->move(area.right() - m_window->width() - 20, area.top() + 20);
    }
    m_window->show();
    m_window->raise();
    Q_EMIT delivered(Path::Window);
}
