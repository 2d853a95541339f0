#include "support/WidgetDriver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace tarvok::test {

namespace {
QWidget* keyTarget(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo;
    return w;
}
} // namespace

void clickRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr) << "no row " << row << " in " << list->objectName().toStdString();
    list->scrollToItem(item);
    const QRect r = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

void clickRow(QTreeWidget* view, int row) {
    QTreeWidgetItem* item = view->topLevelItem(row);
    ASSERT_NE(item, nullptr) << "no row " << row << " in " << view->objectName().toStdString();
    view->scrollToItem(item);
    const QRect r = view->visualItemRect(item);
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

QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList row(const QTreeWidget* view, int index) {
    const QTreeWidgetItem* item = view->topLevelItem(index);
    if (!item)
        return {};
    return {item->text(0), item->text(1), item->text(2)};
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
    main = std::make_unique<FrmMain>(
        dialogs, ProgramFiles(programDir, programDir + QStringLiteral("/user")));
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
