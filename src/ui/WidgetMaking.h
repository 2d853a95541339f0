#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>

// Small helpers the panels build their controls with.
namespace tarvok {

// A control with its name as objectName.
template <class W> W* named(W* w, const QString& objectName) {
    w->setObjectName(objectName);
    return w;
}

inline QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

// The choice lists are filled at start-up; adding the first item to an empty editable
// combo box would replace its initial text, so the text is put back.
inline void addItemsKeepingText(QComboBox* box, const QStringList& items) {
    const QString text = box->currentText();
    box->addItems(items);
    box->setEditText(text);
}

// A choice list filled again (the mod's units at each opening): the text the user sees
// stays, and no change handler runs. The drop-down is wide enough for the longest item.
inline void replaceItemsKeepingText(QComboBox* box, const QStringList& items) {
    const QSignalBlocker quiet(box);
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setEditText(text);
    box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 24);
}

// The up and down buttons of a list of rows, one above the other beside it: a row of
// buttons under the list would widen the panel.
inline QLayout* besideList(QWidget* list, QWidget* up, QWidget* down) {
    auto* moves = new QVBoxLayout;
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch(1);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(list, 1);
    row->addLayout(moves);
    return row;
}

inline QStringList numberRange(int from, int to) {
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::number(i);
    return out;
}

// The entry the user has selected in a list: its current entry, when selected.
inline QListWidgetItem* selectedEntry(const QListWidget* list) {
    QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

} // namespace tarvok
