#pragma once

#include <QStyledItemDelegate>

// Edits a market index in a table cell as the calculator's index boxes do: a masked DD.DD edit
// whose empty positions read as 0. The model receives the text as displayed. A cell that takes
// an index is drawn as an input field (the palette's input background, framed), so that the
// player sees where to type; the others of the column stay plain.
class IndexDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
