#pragma once

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QString>
#include <QStringList>

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
