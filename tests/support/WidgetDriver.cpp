#include "support/WidgetDriver.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvok::test {

namespace {
QWidget* keyTarget(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo;
    return w;
}

// The filter between a view and its rows, if it has one.
const QAbstractProxyModel* filterOf(const QAbstractItemView* view) {
    return qobject_cast<const QAbstractProxyModel*>(view->model());
}

const QAbstractItemModel* rowsOf(const QAbstractItemView* view) {
    const QAbstractProxyModel* filter = filterOf(view);
    return filter ? filter->sourceModel() : view->model();
}

// A row's index as the view shows it; invalid while the filter hides it.
QModelIndex shownIndex(const QAbstractItemView* view, int row) {
    const QModelIndex index = rowsOf(view)->index(row, 0);
    return filterOf(view) ? filterOf(view)->mapFromSource(index) : index;
}

int rowOfShown(const QAbstractItemView* view, const QModelIndex& index) {
    const QModelIndex row = filterOf(view) ? filterOf(view)->mapToSource(index) : index;
    return row.isValid() ? row.row() : -1;
}

} // namespace

void clickRow(QAbstractItemView* view, int row) {
    // A list waits for the reading of a large file's write, as a user would.
    (void)QTest::qWaitFor([view] { return !view->testAttribute(Qt::WA_ForceDisabled); });
    const QModelIndex index = shownIndex(view, row);
    ASSERT_TRUE(index.isValid()) << "no row " << row << " shown in "
                                 << view->objectName().toStdString();
    view->scrollTo(index);
    QRect r; // the whole row, all its columns
    for (int column = 0; column < view->model()->columnCount(); ++column)
        r |= view->visualRect(index.siblingAtColumn(column));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

void chooseItem(QComboBox* box, int index) {
    ASSERT_LT(index, box->count());
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void typeText(QWidget* w, const QString& text) {
    focusOn(w);
    QTest::keyClicks(keyTarget(w), text);
}

void replaceText(QWidget* w, const QString& text) {
    focusOn(w);
    QWidget* t = keyTarget(w);
    QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(t, Qt::Key_Delete);
    else
        QTest::keyClicks(t, text);
}

void focusOn(QWidget* w) {
    QApplication::setActiveWindow(w->window());
    w->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

void leave(QWidget* w) {
    QWidget* other = w->nextInFocusChain();
    while (other && (other == w || other->parentWidget() == w || !other->isEnabled() ||
                     other->focusPolicy() == Qt::NoFocus))
        other = other->nextInFocusChain();
    ASSERT_NE(other, nullptr);
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

void click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

QStringList items(const QAbstractItemView* view) {
    QStringList out;
    for (int i = 0; i < rowCount(view); ++i)
        out << cell(view, i).toString();
    return out;
}

int rowCount(const QAbstractItemView* view) {
    return rowsOf(view)->rowCount();
}

QStringList row(const QAbstractItemView* view, int index) {
    if (index < 0 || index >= rowCount(view))
        return {};
    return {cell(view, index, 0).toString(), cell(view, index, 1).toString(),
            cell(view, index, 2).toString()};
}

QVariant cell(const QAbstractItemView* view, int row, int column, int role) {
    return rowsOf(view)->index(row, column).data(role);
}

void setCell(QAbstractItemView* view, int row, int column, const QString& text) {
    auto* model = const_cast<QAbstractItemModel*>(rowsOf(view));
    ASSERT_TRUE(model->setData(model->index(row, column), text));
}

void appendRow(QAbstractItemView* view, const QStringList& texts) {
    const int row = rowCount(view);
    ASSERT_TRUE(const_cast<QAbstractItemModel*>(rowsOf(view))->insertRows(row, 1));
    for (int column = 0; column < texts.size(); ++column)
        setCell(view, row, column, texts[column]);
}

bool isRowHidden(const QAbstractItemView* view, int row) {
    return !shownIndex(view, row).isValid();
}

bool isRowSelected(const QAbstractItemView* view, int row) {
    const QModelIndex index = shownIndex(view, row);
    return index.isValid() && view->selectionModel()->isSelected(index);
}

QList<int> selectedRows(const QAbstractItemView* view) {
    QList<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
        if (const int row = rowOfShown(view, index); !rows.contains(row))
            rows << row;
    return rows;
}

int currentRow(const QAbstractItemView* view) {
    return rowOfShown(view, view->currentIndex());
}

void setCurrentRow(QAbstractItemView* view, int row) {
    view->selectionModel()->setCurrentIndex(
        shownIndex(view, row), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

Editor::Editor(bool shippedData) : programDir(dir.path()) {
    if (shippedData)
        dir.copyShippedData();
    restart();
}

Editor::Editor(const Editor& other) : programDir(other.programDir) {
    restart();
}

void Editor::restart() {
    w.reset();
    main.reset();
    document.reset();
    const ProgramFiles files(programDir, programDir + QStringLiteral("/user"));
    document = std::make_unique<RulesDocument>(files.scratchCopy(), files.historyFolder());
    main = std::make_unique<FrmMain>(dialogs, files, *document);
    w = std::make_unique<Window>(*main);
    main->resize(1366, 740);
    main->show();
    QApplication::setActiveWindow(main.get());
    QApplication::processEvents();
    dialogs.clear();
}

Editor::~Editor() = default;

void Editor::open(const QString& path) {
    dialogs.files.push_back(path);
    w->CmdOpen_Click();
    ASSERT_EQ(w->RulesFilePath(), path);
    dialogs.clear();
}

} // namespace tarvok::test
