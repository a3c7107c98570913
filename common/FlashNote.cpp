#include "common/FlashNote.h"

#include <QLabel>
#include <QTimer>
#include <algorithm>

namespace FlashNote {

namespace {

const QString NoteName = QStringLiteral("FlashNote");

QLabel* noteOf(QWidget* window) {
    if (auto* note = window->findChild<QLabel*>(NoteName, Qt::FindDirectChildrenOnly)) {
        return note;
    }
    auto* note = new QLabel(window);
    note->setObjectName(NoteName);
    note->setAttribute(Qt::WA_TransparentForMouseEvents);
    note->setMargin(3);
    note->setFrameStyle(QFrame::Box | QFrame::Plain);
    // The colours of a tooltip: it reads as a passing remark, not as one of the window's fields.
    note->setBackgroundRole(QPalette::ToolTipBase);
    note->setForegroundRole(QPalette::ToolTipText);
    note->setAutoFillBackground(true);
    auto* timer = new QTimer(note);
    timer->setSingleShot(true);
    timer->setInterval(ShowMSecs);
    QObject::connect(timer, &QTimer::timeout, note, &QWidget::hide);
    return note;
}

}  // namespace

void show(QWidget* anchor, const QString& text) {
    QWidget* window = anchor->window();
    if (!window->isVisible()) {
        return;  // nobody to tell (a window driven before it is shown)
    }
    QLabel* note = noteOf(window);
    note->setText(text);
    note->setAccessibleName(text);
    // One line where the window is wide enough, else wrapped to its width.
    const int room = std::max(window->width() - 8, 40);
    note->setWordWrap(false);
    note->setMaximumWidth(QWIDGETSIZE_MAX);
    note->adjustSize();
    if (note->width() > room) {
        note->setWordWrap(true);
        note->setFixedWidth(room);
        note->adjustSize();
    } else {
        note->setMinimumWidth(0);
    }
    const QRect at(anchor->mapTo(window, QPoint(0, 0)), anchor->size());
    int top = at.bottom() + 3;
    if (top + note->height() > window->height()) {
        top = at.top() - note->height() - 3;
    }
    const int left = std::clamp(at.left(), 4, std::max(window->width() - note->width() - 4, 4));
    note->move(left, std::max(top, 0));
    note->raise();
    note->show();
    note->findChild<QTimer*>()->start();
}

}  // namespace FlashNote
