#include "ui/RegistryLists.h"

#include "document/RulesIndex.h"
#include "records/FieldRules.h"

#include <QAbstractItemView>
#include <QAction>
#include <QHelpEvent>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace tarvok::registrylists {
namespace {

constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kSearchRole = Qt::UserRole + 2;

// Shows at most a screenful of an entry's text, and the record's name after its ID. The
// item keeps its whole text; only what is measured and painted is cut, so an ID or name
// of megabytes in a damaged file does not make every repaint lay out megabytes of text.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        constexpr qsizetype kShown = 400;
        if (option->text.size() > kShown)
            option->text = option->text.left(kShown) + QStringLiteral("…");
    }

    // The whole entry, name included, for a list too narrow to show it.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        constexpr qsizetype kShown = 400;
        const QString name = index.data(kNameRole).toString().left(kShown);
        QString text = index.data().toString().left(kShown);
        if (!name.isEmpty())
            text += QStringLiteral("  ") + name;
        QToolTip::showText(event->globalPos(), text, view);
        return true;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        const QString name = index.data(kNameRole).toString().left(400);
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
        const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &o, w).adjusted(2, 0, -2, 0);
        const bool selected = o.state & QStyle::State_Selected;
        painter->save();
        painter->setFont(o.font);
        painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, id);
        const int indent = o.fontMetrics.horizontalAdvance(id + QStringLiteral("  "));
        painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
        painter->drawText(r.adjusted(indent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          o.fontMetrics.elidedText(name, Qt::ElideRight, std::max(0, r.width() - indent)));
        painter->restore();
    }
};

// What the filter compares: ID and name, in one case and one width. Worked out at the
// first filtering, not at opening, and kept with the entry.
QString searchText(QListWidgetItem* item) {
    const QVariant cached = item->data(kSearchRole);
    if (cached.isValid())
        return cached.toString();
    const QString text = fieldrules::searchKey(item->text() + QLatin1Char(' ') + item->data(kNameRole).toString());
    item->setData(kSearchRole, text);
    return text;
}

} // namespace

QStyledItemDelegate* makeDelegate(QWidget* list) { return new EntryDelegate(list); }

void fill(QListWidget* list, const QStringList& ids, const QStringList& names) {
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(ids);
    // Tens of thousands of names: the view repaints once when updates resume, not once
    // for every entry that gets its name.
    const QSignalBlocker quiet(list->model());
    for (qsizetype i = 0; i < names.size() && i < ids.size(); ++i)
        if (!names[i].isEmpty())
            list->item(static_cast<int>(i))->setData(kNameRole, names[i]);
    list->setUpdatesEnabled(true);
}

void fillAll(const std::array<QListWidget*, 4>& lists, const std::array<QLineEdit*, 4>& filters,
             const RulesIndex& index) {
    const TextCodec& codec = index.codec();
    const RulesScan& scan = index.scan();
    const std::vector<QByteArrayView>* entries[] = {&scan.triggerKeys, &scan.teamTypes,
                                                    &scan.taskForces, &scan.scriptTypes};
    for (size_t i = 0; i < lists.size(); ++i) {
        std::vector<QByteArrayView> names;
        if (i > 0) { // a trigger entry holds its name already
            names.reserve(entries[i]->size());
            for (QByteArrayView id : *entries[i])
                names.push_back(index.name(id));
        }
        fill(lists[i], codec.decodeAll(*entries[i]), codec.decodeAll(names));
        if (!filters[i]->text().isEmpty()) // a new list hides nothing
            applyFilter(lists[i], filters[i]->text());
    }
}

void setName(QListWidget* list, const QString& id, const QString& name) {
    for (QListWidgetItem* item : list->findItems(id, Qt::MatchExactly)) {
        item->setData(kNameRole, name);
        item->setData(kSearchRole, QVariant()); // worked out again at the next filtering
    }
}

void applyFilter(QListWidget* list, const QString& text) {
    const QString key = fieldrules::searchKey(text);
    list->setUpdatesEnabled(false);
    for (int i = 0; i < list->count(); ++i) {
        const bool hide = !key.isEmpty() && !searchText(list->item(i)).contains(key);
        if (list->isRowHidden(i) != hide)
            list->setRowHidden(i, hide);
    }
    list->setUpdatesEnabled(true);
}

QLineEdit* makeFilter(QListWidget* list, const QString& objectName, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setPlaceholderText(QStringLiteral("筛选 ID 或名称"));
    box->setClearButtonEnabled(true);
    auto* clear = new QAction(box);
    clear->setShortcut(Qt::Key_Escape);
    clear->setShortcutContext(Qt::WidgetShortcut);
    box->addAction(clear);
    QObject::connect(clear, &QAction::triggered, box, &QLineEdit::clear);
    QObject::connect(box, &QLineEdit::textChanged, list, [list](const QString& text) { applyFilter(list, text); });
    return box;
}

} // namespace tarvok::registrylists
