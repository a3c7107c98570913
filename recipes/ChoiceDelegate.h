#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

// A table cell that offers choices (the model's choice texts under a role, the one in use under
// Qt::EditRole) drawn as a combo box and edited with one: a click opens its list, a pick is
// handed to the model. Cells without choices are drawn plainly.
class ChoiceDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    ChoiceDelegate(int choicesRole, QObject* parent);

    // Sets the delegate on the column of the view and opens a cell's choices on a click.
    static void attach(QAbstractItemView* view, int column, int choicesRole);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    QStringList choices(const QModelIndex& index) const;

    int m_choicesRole;
};
