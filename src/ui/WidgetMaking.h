#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QString>
#include <QStringList>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>

// Small helpers the panels build their controls with.
namespace tarvok {

// A control with its name as objectName.
template <class W> W* named(W* w, const QString& objectName) {
    w->setObjectName(objectName);
    return w;
}

// A panel laid out as its one frame: the frame fills it, with no margin of its own.
inline void holdFrame(QWidget* panel, QWidget* frame) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
}

// The text colour of a list (文字前景色).
inline void setTextColour(QAbstractItemView* view, const QColor& colour) {
    QPalette p = view->palette();
    p.setColor(QPalette::Text, colour);
    view->setPalette(p);
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

// A choice list filled again (the mod's thousands of units at each opening): the text the
// user sees stays, and no change handler runs. The items are a plain list model, which
// costs nothing per item until the list drops down; the drop-down is as wide as the
// longest items need.
// The drop-down of a choice box, and the offers of its search, as wide as its longest
// items need ("名称（ID）" shows whole), up to 600 px; the longest texts are measured, not
// every one.
inline void fitPopupWidth(QComboBox* box, const QStringList& items) {
    QStringList longest = items;
    const qsizetype measured = std::min<qsizetype>(longest.size(), 16);
    std::partial_sort(longest.begin(), longest.begin() + measured, longest.end(),
                      [](const QString& a, const QString& b) { return a.size() > b.size(); });
    const QFontMetrics fm = box->view()->fontMetrics();
    int width = 0;
    for (qsizetype i = 0; i < measured; ++i)
        width = std::max(width, fm.horizontalAdvance(longest[i]));
    const int fitted = std::min(width + 40, 600);
    box->view()->setMinimumWidth(fitted);
    if (QCompleter* search = box->completer())
        search->popup()->setMinimumWidth(fitted); // its placing keeps to the minimum size
}

inline void replaceItemsKeepingText(QComboBox* box, const QStringList& items) {
    const QSignalBlocker quiet(box);
    const QString text = box->currentText();
    if (auto* list = qobject_cast<QStringListModel*>(box->model()))
        list->setStringList(items);
    else
        box->setModel(new QStringListModel(items, box));
    box->setEditText(text);
    fitPopupWidth(box, items);
}

// The up and down buttons of a list of rows, one above the other beside it: a row of
// buttons under the panel would widen it.
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
