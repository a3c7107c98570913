#include "common/ReadOnlyLook.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

namespace ReadOnlyLook {
namespace {

constexpr QPalette::ColorRole roles[] = {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                         QPalette::Base};

// Gives the disabled colours the values of the enabled ones the widget has now. Only those are
// set on the widget: the enabled colours, and all others, it still inherits.
void copyNormalColours(QWidget* widget) {
    const QPalette current = widget->palette();
    QPalette own;
    bool differs = false;
    for (const QPalette::ColorRole role : roles) {
        const QColor normal = current.color(QPalette::Active, role);
        differs = differs || current.color(QPalette::Disabled, role) != normal;
        own.setColor(QPalette::Disabled, role, normal);
    }
    if (differs) {
        widget->setPalette(own);
    }
}

// A change of the desktop's colours (a high-contrast theme, say) reaches the widget as a new
// inherited palette; the disabled colours are taken anew from it.
class Follower : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange) {
            copyNormalColours(static_cast<QWidget*>(watched));
        }
        return false;
    }
};

}  // namespace

void apply(QWidget* widget) {
    copyNormalColours(widget);
    widget->installEventFilter(new Follower(widget));
}

}  // namespace ReadOnlyLook
