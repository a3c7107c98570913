#pragma once

#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QString>

class QComboBox;
class QFont;
class QWidget;

// The labels and choice boxes that the windows lay out by hand, made one way everywhere.
namespace Controls {

// A label at `position`, as large as its text in the font it inherits.
QLabel* label(QWidget* parent, const QString& text, const QPoint& position,
              const QString& name = QString());
// A label in a layout, in the given font.
QLabel* label(QWidget* parent, const QString& text, const QFont& font,
              const QString& name = QString());

// Gives a label its font, place and horizontal alignment (always centred vertically).
void place(QLabel* label, const QRect& place, const QFont& font, const QString& name,
           Qt::Alignment alignment);

// A label of the given class in a fixed place and font.
template <class Label = QLabel>
Label* label(QWidget* parent, const QString& text, const QRect& where, const QFont& font,
             const QString& name = QString(), Qt::Alignment alignment = Qt::AlignLeft) {
    auto* result = new Label(text, parent);
    place(result, where, font, name, alignment);
    return result;
}

// A drop-down box that also takes typed text; typed text never becomes an entry.
QComboBox* comboBox(QWidget* parent, const QString& name, const QRect& place);

}  // namespace Controls
