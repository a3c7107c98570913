#include "recipes/ChoiceDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QStyle>

ChoiceDelegate::ChoiceDelegate(int choicesRole, QObject* parent)
    : QStyledItemDelegate(parent), m_choicesRole(choicesRole) {}

void ChoiceDelegate::attach(QAbstractItemView* view, int column, int choicesRole) {
    view->setItemDelegateForColumn(column, new ChoiceDelegate(choicesRole, view));
    view->setEditTriggers(QAbstractItemView::EditKeyPressed);
    connect(view, &QAbstractItemView::clicked, view, [view, column](const QModelIndex& index) {
        if (index.column() == column && (index.flags() & Qt::ItemIsEditable)) {
            view->edit(index);
        }
    });
}

QStringList ChoiceDelegate::choices(const QModelIndex& index) const {
    return index.data(m_choicesRole).toStringList();
}

void ChoiceDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    if (choices(index).isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    QStyleOptionComboBox box;
    box.initFrom(widget);
    box.rect = option.rect;
    box.state = option.state | QStyle::State_Enabled;
    box.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    box.currentText = index.data(Qt::DisplayRole).toString();
    box.fontMetrics = option.fontMetrics;
    painter->save();
    painter->setFont(option.font);
    style->drawComplexControl(QStyle::CC_ComboBox, &box, painter, widget);
    style->drawControl(QStyle::CE_ComboBoxLabel, &box, painter, widget);
    painter->restore();
}

QWidget* ChoiceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex& index) const {
    auto* box = new QComboBox(parent);
    box->addItems(choices(index));
    connect(box, &QComboBox::activated, this, [this, box] {
        auto* self = const_cast<ChoiceDelegate*>(this);
        Q_EMIT self->commitData(box);
        Q_EMIT self->closeEditor(box);
    });
    // Opened by a click, as a combo box opens its list.
    QMetaObject::invokeMethod(box, &QComboBox::showPopup, Qt::QueuedConnection);
    return box;
}

void ChoiceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = static_cast<QComboBox*>(editor);
    box->setCurrentIndex(index.data(Qt::EditRole).toInt());
    box->setToolTip(box->currentText());
}

void ChoiceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    model->setData(index, static_cast<QComboBox*>(editor)->currentIndex(), Qt::EditRole);
}
