#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

// The text of the passing note a window shows after an action ("…しました"), empty when none is
// showing.
inline QString shownNote(const QWidget* window) {
    const auto* note =
        window->findChild<QLabel*>(QStringLiteral("FlashNote"), Qt::FindDirectChildrenOnly);
    return note && note->isVisible() ? note->text() : QString();
}
