#include "ui/WindowLayout.h"

#include "ui/WindowRules.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace tarvok::windowlayout {
namespace {

void appendInReadingOrder(QLayout* layout, std::vector<QWidget*>& out);

void appendWidget(QWidget* w, std::vector<QWidget*>& out) {
    if (w->layout() && !qobject_cast<QAbstractItemView*>(w) && !qobject_cast<QTabWidget*>(w)) {
        appendInReadingOrder(w->layout(), out);
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        out.push_back(tabs->tabBar());
        for (int i = 0; i < tabs->count(); ++i)
            appendWidget(tabs->widget(i), out);
        return;
    }
    if (w->focusPolicy() & Qt::TabFocus)
        out.push_back(w);
}

void appendInReadingOrder(QLayout* layout, std::vector<QWidget*>& out) {
    std::vector<std::pair<std::pair<int, int>, QLayoutItem*>> items;
    auto* grid = qobject_cast<QGridLayout*>(layout);
    for (int i = 0; i < layout->count(); ++i) {
        int row = 0;
        int column = i;
        if (grid) {
            int rowSpan = 0;
            int columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        }
        items.push_back({{row, column}, layout->itemAt(i)});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [position, item] : items) {
        if (QWidget* w = item->widget())
            appendWidget(w, out);
        else if (QLayout* inner = item->layout())
            appendInReadingOrder(inner, out);
    }
}

} // namespace

QFont editorFont() {
    QFont f = QApplication::font();
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei")});
    return f;
}

void setTabChain(const std::vector<QWidget*>& areas) {
    std::vector<QWidget*> order;
    for (QWidget* area : areas)
        appendWidget(area, order);
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QScrollArea* scrolling(QWidget* content) {
    auto* scroll = new FittingScrollArea;
    scroll->setObjectName(QStringLiteral("scroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    return scroll;
}

void compactFrame(QGroupBox* frame) {
    if (auto* grid = qobject_cast<QGridLayout*>(frame->layout()))
        grid->setVerticalSpacing(3);
    else if (auto* box = qobject_cast<QBoxLayout*>(frame->layout()))
        box->setSpacing(3);
    if (QLayout* l = frame->layout())
        l->setContentsMargins(6, 4, 6, 4);
}

void fitDropDowns(std::initializer_list<QComboBox*> boxes) {
    for (QComboBox* box : boxes) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(4);
        box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 24);
    }
}

QSize FittingScrollArea::sizeHint() const {
    const QWidget* content = widget();
    if (!content)
        return QScrollArea::sizeHint();
    return content->sizeHint()
        .boundedTo(windowrules::kRoomyContent)
        .expandedTo(content->minimumSizeHint());
}

} // namespace tarvok::windowlayout
