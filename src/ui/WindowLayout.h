#pragma once

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>

#include <initializer_list>
#include <vector>

// The pieces the main window is laid out with.
namespace tarvok::windowlayout {

// The editor's font: SimSun, where it is missing a CJK face of the system.
QFont editorFont();

// Tab moves through the areas as they read: within each, a grid row by row, a box layout
// item by item, nested layouts where they stand.
void setTabChain(const std::vector<QWidget*>& areas);

// The window's content in a scroll area that asks for the room the content wants.
QScrollArea* scrolling(QWidget* content);
// Keeps a window of many fields on one screen: frames with tighter spacing, choice boxes no
// wider than a few characters (their lists open as wide as their first entries need), lists
// of rows a few rows high. Each panel applies them to its own controls.
void compactFrame(QGroupBox* frame);
void fitDropDowns(std::initializer_list<QComboBox*> boxes);
constexpr int kRowListHeight = 72;

// Wraps its text within the room it is given, yet leaves the window's height free of its
// width: with a height that depends on the width, the scroll area would lay the window out
// at its preferred height and scroll below it, rather than only below its least one.
class WrappingLabel : public QLabel {
  public:
    using QLabel::QLabel;
    bool hasHeightForWidth() const override { return false; }
};

// Asks for the size its content wants, within what a common laptop screen has room for,
// and never for less than shows every control without scrolling.
class FittingScrollArea : public QScrollArea {
  public:
    QSize sizeHint() const override;
};

} // namespace tarvok::windowlayout
