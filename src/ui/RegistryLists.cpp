#include "ui/RegistryLists.h"

#include "ui/RegistryFilter.h"
#include "ui/RegistryListModel.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace tarvok::registrylists {
namespace {

// Shows at most a screenful of an entry's text, and the record's name after its ID. The
// entry keeps its whole text; only what is measured and painted is cut, so an ID or name
// of megabytes in a damaged file does not make every repaint lay out megabytes of text.
class EntryDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    static QString nameAt(const QModelIndex& index) {
        return index.data(RegistryListModel::NameRole).toString();
    }

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        constexpr qsizetype kShown = 400;
        if (option->text.size() > kShown)
            option->text = option->text.left(kShown) + QStringLiteral("…");
    }

    // The whole entry, name included, for a list too narrow to show it, and its file.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        constexpr qsizetype kShown = 400;
        const QString name = nameAt(index).left(kShown);
        QString text = index.data().toString().left(kShown);
        if (!name.isEmpty())
            text += QStringLiteral("  ") + name;
        // The file that holds the record, when it is one the opened file includes.
        if (const QString file = index.data(Qt::ToolTipRole).toString(); !file.isEmpty())
            text += QLatin1Char('\n') + file;
        QToolTip::showText(event->globalPos(), text, view);
        return true;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& opt,
               const QModelIndex& index) const override {
        const QString name = nameAt(index).left(400);
        if (name.isEmpty()) {
            QStyledItemDelegate::paint(painter, opt, index);
            return;
        }
        QStyleOptionViewItem o(opt);
        initStyleOption(&o, index);
        const QString id = o.text;
        o.text.clear();
        const QWidget* w = o.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, painter, w); // background, selection
        const QRect r =
            style->subElementRect(QStyle::SE_ItemViewItemText, &o, w).adjusted(2, 0, -2, 0);
        const bool selected = o.state & QStyle::State_Selected;
        painter->save();
        painter->setFont(o.font);
        painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, id);
        const int indent = o.fontMetrics.horizontalAdvance(id + QStringLiteral("  "));
        painter->setPen(
            o.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
        painter->drawText(
            r.adjusted(indent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
            o.fontMetrics.elidedText(name, Qt::ElideRight, std::max(0, r.width() - indent)));
        painter->restore();
    }
};

} // namespace

QListView* makeList(references::Kind kind, const QString& objectName, QWidget* parent) {
    auto* list = new QListView(parent);
    list->setObjectName(objectName);
    list->setUniformItemSizes(true); // tens of thousands of one-line entries
    list->setMinimumHeight(list->fontMetrics().height() * 3 + 6);
    list->setItemDelegate(new EntryDelegate(list));
    list->setModel(new RegistryFilter(new RegistryListModel(kind, list), list));
    return list;
}

RegistryListModel* entriesOf(const QAbstractItemView* list) {
    return static_cast<RegistryFilter*>(list->model())->entries();
}

void fillAll(const std::array<QListView*, 4>& lists,
             const std::shared_ptr<const RulesIndex>& index) {
    for (QListView* list : lists)
        entriesOf(list)->setIndex(index);
}

QLineEdit* makeFilter(QListView* list, const QString& objectName, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setPlaceholderText(QStringLiteral("筛选 ID、名称或所用单位"));
    box->setClearButtonEnabled(true);
    auto* clear = new QAction(box);
    clear->setShortcut(Qt::Key_Escape);
    clear->setShortcutContext(Qt::WidgetShortcut);
    box->addAction(clear);
    QObject::connect(clear, &QAction::triggered, box, &QLineEdit::clear);
    auto* filter = static_cast<RegistryFilter*>(list->model());
    QObject::connect(box, &QLineEdit::textChanged, filter, &RegistryFilter::setFilterText);
    return box;
}

int selectedRow(const QAbstractItemView* list) {
    const QModelIndex current = list->currentIndex();
    if (!current.isValid() || !list->selectionModel()->isSelected(current))
        return -1;
    return static_cast<RegistryFilter*>(list->model())->mapToSource(current).row();
}

std::optional<QString> selectedEntry(const QAbstractItemView* list) {
    const int row = selectedRow(list);
    if (row < 0)
        return std::nullopt;
    return entriesOf(list)->text(row);
}

int viewRow(const QAbstractItemView* list, int entryRow) {
    const QModelIndex entry = entriesOf(list)->index(entryRow);
    return static_cast<RegistryFilter*>(list->model())->mapFromSource(entry).row();
}

} // namespace tarvok::registrylists
