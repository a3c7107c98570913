#include "recipes/IndexDelegate.h"

#include <QLineEdit>

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
