#include "ui/RegistryLists.h"

#include "document/RulesIndex.h"
#include "records/FieldRules.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QHash>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace tarvok::registrylists {
namespace {

// What a list knows beside its items: the reading of the file its names come from (a
// name is decoded when it is first shown or filtered, not at opening), the names saved
// since, and for each row the text the filter compares and whether the row is hidden.
// The rows follow the list's model: inserted rows are shown and not yet compared.
class ListState : public QObject {
  public:
    explicit ListState(QListWidget* list) : QObject(list) {
        setObjectName(QStringLiteral("registryListState"));
        QAbstractItemModel* model = list->model();
        connect(model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int first, int last) {
                    if (static_cast<size_t>(first) <= rows.size())
                        rows.insert(rows.begin() + first, static_cast<size_t>(last - first + 1),
                                    Row{});
                });
        connect(model, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex&, int first, int last) {
                    if (static_cast<size_t>(last) < rows.size())
                        rows.erase(rows.begin() + first, rows.begin() + last + 1);
                });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { rows.clear(); });
        connect(model, &QAbstractItemModel::rowsMoved, this, [this, list] { resync(list); });
        connect(model, &QAbstractItemModel::layoutChanged, this, [this, list] { resync(list); });
        resync(list);
    }

    static ListState& of(QListWidget* list) {
        auto* state = list->findChild<ListState*>(QStringLiteral("registryListState"),
                                                  Qt::FindDirectChildrenOnly);
        return state ? *state : *new ListState(list);
    }

    QString name(const QString& id) const {
        if (const auto it = renamed.constFind(id); it != renamed.cend())
            return *it;
        return names ? names->codec().decode(names->name(names->codec().encode(id))) : QString();
    }

    // Rows whose order the model changed: their hidden state is asked of the view again.
    void resync(QListWidget* list) {
        rows.assign(static_cast<size_t>(list->count()), Row{});
        for (int i = 0; i < list->count(); ++i)
            rows[static_cast<size_t>(i)].hidden = list->isRowHidden(i);
    }

    struct Row {
        QString key; // null until the first filtering
        bool hidden = false;
    };
    std::vector<Row> rows;
    std::shared_ptr<const RulesIndex> names;
    QHash<QString, QString> renamed;
};

// Shows at most a screenful of an entry's text, and the record's name after its ID. The
// item keeps its whole text; only what is measured and painted is cut, so an ID or name
// of megabytes in a damaged file does not make every repaint lay out megabytes of text.
class EntryDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    QString nameAt(const QModelIndex& index) const {
        auto* list = qobject_cast<QListWidget*>(parent());
        return list ? ListState::of(list).name(index.data().toString()) : QString();
    }

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
        const QString name = nameAt(index).left(kShown);
        QString text = index.data().toString().left(kShown);
        if (!name.isEmpty())
            text += QStringLiteral("  ") + name;
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

QStyledItemDelegate* makeDelegate(QWidget* list) {
    return new EntryDelegate(list);
}

void fill(QListWidget* list, const QStringList& ids, std::shared_ptr<const RulesIndex> names) {
    ListState& state = ListState::of(list);
    state.names = std::move(names);
    state.renamed.clear();
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(ids);
    list->setUpdatesEnabled(true);
}

void fillAll(const std::array<QListWidget*, 4>& lists, const std::array<QLineEdit*, 4>& filters,
             const std::shared_ptr<const RulesIndex>& index) {
    const TextCodec& codec = index->codec();
    const RulesScan& scan = index->scan();
    const std::vector<QByteArrayView>* entries[] = {&scan.triggerKeys, &scan.teamTypes,
                                                    &scan.taskForces, &scan.scriptTypes};
    for (size_t i = 0; i < lists.size(); ++i) {
        // A trigger entry holds its name already.
        fill(lists[i], codec.decodeAll(*entries[i]), i > 0 ? index : nullptr);
        if (!filters[i]->text().isEmpty()) // a new list hides nothing
            applyFilter(lists[i], filters[i]->text());
    }
}

void setName(QListWidget* list, const QString& id, const QString& name) {
    ListState& state = ListState::of(list);
    state.renamed.insert(id, name);
    for (QListWidgetItem* item : list->findItems(id, Qt::MatchExactly))
        if (const auto row = static_cast<size_t>(list->row(item)); row < state.rows.size())
            state.rows[row].key = QString(); // compared anew
    list->viewport()->update();
}

QString nameOf(QListWidget* list, const QString& id) {
    return ListState::of(list).name(id);
}

void applyFilter(QListWidget* list, const QString& text) {
    const QString key = fieldrules::searchKey(text);
    ListState& state = ListState::of(list);
    if (state.rows.size() != static_cast<size_t>(list->count()))
        state.resync(list);
    list->setUpdatesEnabled(false);
    for (int i = 0; i < list->count(); ++i) {
        ListState::Row& row = state.rows[static_cast<size_t>(i)];
        bool hide = false;
        if (!key.isEmpty()) {
            if (row.key.isNull()) { // ID and name, in one case and one width
                const QString id = list->item(i)->text();
                row.key = fieldrules::searchKey(id + QLatin1Char(' ') + state.name(id));
            }
            hide = !row.key.contains(key);
        }
        if (row.hidden != hide) {
            list->setRowHidden(i, hide);
            row.hidden = hide;
        }
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
    QObject::connect(box, &QLineEdit::textChanged, list,
                     [list](const QString& text) { applyFilter(list, text); });
    return box;
}

} // namespace tarvok::registrylists
