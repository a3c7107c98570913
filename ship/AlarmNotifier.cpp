#include "ship/AlarmNotifier.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Fonts.h"
#include "common/ScreenAreas.h"

namespace {

constexpr int ScreenMargin = 20;  // between the window and the work area's edges

}  // namespace

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
        // Many messages scroll inside the window, which never grows past the work area, so that
        // 閉じる stays on the screen.
        m_windowScroll = new QScrollArea(window);
        m_windowScroll->setObjectName(QStringLiteral("viwAlarmScroll"));
        m_windowScroll->setFrameShape(QFrame::NoFrame);
        m_windowScroll->setWidgetResizable(true);
        m_windowScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_windowText = new QLabel(m_windowScroll);
        m_windowText->setObjectName(QStringLiteral("viwAlarmText"));
        m_windowText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_windowScroll->setWidget(m_windowText);
        layout->addWidget(m_windowScroll, 1);
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
    placeWindow();
    m_window->show();
    m_window->raise();
    Q_EMIT delivered(Path::Window);
}

void AlarmNotifier::placeWindow() {
    const QRect area = ScreenAreas::workArea();
    QWidget* window = m_window;
    const QSize text = m_windowText->sizeHint();
    const int scrollBar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The frame's title bar and borders, known once the window has been shown; a guess before.
    const int frameHeight =
        window->isVisible() ? window->frameGeometry().height() - window->height() : 40;
    const int frameWidth =
        window->isVisible() ? window->frameGeometry().width() - window->width() : 16;
    const QMargins margins = window->layout()->contentsMargins();
    const int chrome = window->sizeHint().height() - m_windowScroll->sizeHint().height();
    const int maxHeight = std::max(area.height() - 2 * ScreenMargin - frameHeight, 120);
    const int maxWidth = std::max(area.width() - 2 * ScreenMargin - frameWidth, 200);
    const int height = std::min(text.height() + chrome, maxHeight);
    const bool scrolls = text.height() + chrome > maxHeight;
    const int width = std::min(
        std::max(text.width() + margins.left() + margins.right() + (scrolls ? scrollBar : 0),
                 window->minimumSizeHint().width()),
        maxWidth);
    window->resize(width, height);
    window->move(area.right() - width - frameWidth - ScreenMargin, area.top() + ScreenMargin);
    if (scrolls) {
        // The newest message, at the bottom, is the one to see: once the label has its new size.
        QTimer::singleShot(0, m_windowScroll, [scroll = m_windowScroll] {
            scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
        });
    }
}
