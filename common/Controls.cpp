#include "common/Controls.h"

#include <QComboBox>
#include <QFont>

namespace Controls {

QLabel* label(QWidget* parent, const QString& text, const QPoint& position, const QString& name) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    result->move(position);
    result->adjustSize();
    return result;
}

QLabel* label(QWidget* parent, const QString& text, const QFont& font, const QString& name) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    result->setFont(font);
    return result;
}

void place(QLabel* label, const QRect& place, const QFont& font, const QString& name,
           Qt::Alignment alignment) {
    label->setObjectName(name);
    label->setFont(font);
    label->setGeometry(place);
    label->setAlignment(alignment | Qt::AlignVCenter);
}

QComboBox* comboBox(QWidget* parent, const QString& name, const QRect& place) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(place);
    return box;
}

}  // namespace Controls
