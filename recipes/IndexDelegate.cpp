#include "recipes/IndexDelegate.h"

#include <QLineEdit>
#include <QPainter>

QWidget* IndexDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex&) const {
    auto* editor = new QLineEdit(parent);
    editor->setInputMask(QStringLiteral("99.99;0"));
    editor->setAttribute(Qt::WA_InputMethodEnabled, false);
    return editor;
}

void IndexDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
}

void IndexDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    // With the blank character 0, text() drops the zeros; the displayed text is the index.
    model->setData(index, static_cast<QLineEdit*>(editor)->displayText(), Qt::EditRole);
}

void IndexDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    if (!(index.flags() & Qt::ItemIsEditable)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRect field = option.rect.adjusted(1, 1, -2, -2);
    if (!(option.state & QStyle::State_Selected)) {
        painter->fillRect(field, option.palette.brush(QPalette::Base));
    }
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawRect(field);
    painter->restore();
}
