#include "ui/RegistryFilter.h"

#include "catalogues/Catalogues.h"
#include "document/Pool.h"
#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "records/FieldRules.h"
#include "records/UnitUses.h"
#include "ui/RegistryListModel.h"

#include <QFutureWatcher>

#include <algorithm>
#include <numeric>

namespace tarvok {

UnitFinder::UnitFinder(const Catalogues& catalogues, RulesDocument& document,
                       std::function<void()> arrived)
    : catalogues_(catalogues), document_(document), arrived_(std::move(arrived)) {}

// The task holds its own hold on the reading: it may end after this finder, never after
// the application.
UnitFinder::~UnitFinder() = default;

void UnitFinder::prepare() {
    // The reading of a write in progress is not asked for: it comes with the document's
    // signal, and the filters apply their texts again then.
    if (document_.readingInProgress())
        return;
    std::shared_ptr<const RulesIndex> reading = document_.index();
    if (!reading || reading == reading_)
        return;
    pool::Task<std::shared_ptr<unituses::UnitUses>> task =
        pool::run([reading] { return std::make_shared<unituses::UnitUses>(*reading); });
    reader_ = std::make_unique<QFutureWatcher<std::shared_ptr<unituses::UnitUses>>>();
    QObject::connect(reader_.get(), &QFutureWatcherBase::finished, reader_.get(), [this, task] {
        uses_ = task.result();
        if (arrived_)
            arrived_();
    });
    reader_->setFuture(task.future());
    pool::giveBack(std::move(uses_));
    letGo(reading_);
    reading_ = std::move(reading);
    named_ = false;
    places_ = {};
    ++generation_;
}

const unituses::UnitUses* UnitFinder::uses() {
    prepare();
    if (document_.readingInProgress() || !reading_ || !uses_)
        return nullptr;
    if (!named_) {
        catalogues_.nameUses(*uses_);
        named_ = true;
    }
    return uses_.get();
}

int UnitFinder::place(references::Kind kind, const QString& id) {
    std::optional<QHash<QString, int>>& places = places_[static_cast<size_t>(kind)];
    if (!places) {
        const RulesScan& scan = reading_->scan();
        const std::vector<QByteArrayView>* const byKind[] = {&scan.triggerKeys, &scan.teamTypes,
                                                             &scan.taskForces, &scan.scriptTypes};
        const QStringList ids = reading_->codec().decodeAll(*byKind[static_cast<size_t>(kind)]);
        places.emplace();
        places->reserve(ids.size());
        for (qsizetype i = ids.size(); i-- > 0;) // the first of an ID counts
            places->insert(kind == references::Kind::Trigger ? fieldrules::triggerId(ids[i])
                                                             : ids[i],
                           static_cast<int>(i));
    }
    return places->value(id, -1);
}

RegistryFilter::RegistryFilter(RegistryListModel* entries, QObject* parent)
    : QAbstractProxyModel(parent), entries_(entries) {
    setSourceModel(entries);
    connectSource();
}

void RegistryFilter::setFilterText(const QString& text) {
    const QString key = fieldrules::searchKey(text);
    if (key != key_)
        apply(key);
}

void RegistryFilter::refilter() {
    if (filtering())
        apply(key_);
}

void RegistryFilter::apply(const QString& key) {
    std::vector<int> next = matching(key);
    emit layoutAboutToBeChanged();
    const QModelIndexList from = persistentIndexList();
    QModelIndexList sources;
    sources.reserve(from.size());
    for (const QModelIndex& index : from)
        sources << mapToSource(index);
    key_ = key;
    shown_ = std::move(next);
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& source : sources)
        to << mapFromSource(source); // nothing for an entry no longer shown
    changePersistentIndexList(from, to);
    emit layoutChanged();
}

std::vector<int> RegistryFilter::matching(const QString& key) {
    std::vector<int> rows;
    if (key.isEmpty())
        return rows;
    const unituses::UnitUses* uses = finder_ ? finder_->uses() : nullptr;
    const std::vector<bool> users =
        uses ? uses->usersOf(entries_->kind(), key) : std::vector<bool>();
    const std::vector<int>& at = uses ? places() : places_;
    for (int row = 0, n = entries_->rowCount(); row < n; ++row) {
        const auto place = static_cast<size_t>(uses ? at[static_cast<size_t>(row)] : -1);
        if (entries_->searchKey(row).contains(key) || (place < users.size() && users[place]))
            rows.push_back(row);
    }
    return rows;
}

const std::vector<int>& RegistryFilter::places() {
    if (placesOf_ != finder_->generation()) {
        const bool trigger = entries_->kind() == references::Kind::Trigger;
        places_.resize(static_cast<size_t>(entries_->rowCount()));
        const QStringList texts = entries_->texts();
        for (qsizetype row = 0; row < texts.size(); ++row)
            places_[static_cast<size_t>(row)] = finder_->place(
                entries_->kind(), trigger ? fieldrules::triggerId(texts[row]) : texts[row]);
        placesOf_ = finder_->generation();
    }
    return places_;
}

int RegistryFilter::proxyRowFor(int sourceRow) const {
    if (!filtering())
        return sourceRow;
    return static_cast<int>(std::lower_bound(shown_.begin(), shown_.end(), sourceRow) -
                            shown_.begin());
}

QModelIndex RegistryFilter::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid())
        return {};
    const int row = proxyIndex.row();
    return entries_->index(filtering() ? shown_[static_cast<size_t>(row)] : row);
}

QModelIndex RegistryFilter::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid())
        return {};
    const int row = proxyRowFor(sourceIndex.row());
    if (filtering() && (row == rowCount() || shown_[static_cast<size_t>(row)] != sourceIndex.row()))
        return {};
    return index(row, 0);
}

QModelIndex RegistryFilter::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || row < 0 || row >= rowCount())
        return {};
    return createIndex(row, column);
}

QModelIndex RegistryFilter::parent(const QModelIndex&) const {
    return {};
}

int RegistryFilter::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return filtering() ? static_cast<int>(shown_.size()) : entries_->rowCount();
}

int RegistryFilter::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

bool RegistryFilter::hasChildren(const QModelIndex& parent) const {
    return !parent.isValid() && rowCount() > 0;
}

void RegistryFilter::connectSource() {
    using Model = QAbstractItemModel;
    connect(entries_, &Model::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(entries_, &Model::modelReset, this, [this] {
        placesOf_ = -1;
        shown_ = matching(key_); // a new reading, under the text in force
        endResetModel();
    });
    connect(entries_, &Model::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) {
                pendingFirst_ = proxyRowFor(first);
                beginInsertRows(QModelIndex(), pendingFirst_, pendingFirst_ + last - first);
            });
    connect(entries_, &Model::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        placesOf_ = -1;
        if (filtering()) { // shown until the text changes
            const auto at = shown_.begin() + pendingFirst_;
            std::for_each(at, shown_.end(), [&](int& row) { row += last - first + 1; });
            std::vector<int> added(static_cast<size_t>(last - first + 1));
            std::iota(added.begin(), added.end(), first);
            shown_.insert(at, added.begin(), added.end());
        }
        endInsertRows();
    });
    connect(entries_, &Model::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                pendingFirst_ = proxyRowFor(first);
                pendingLast_ = proxyRowFor(last + 1) - 1;
                if (pendingFirst_ <= pendingLast_)
                    beginRemoveRows(QModelIndex(), pendingFirst_, pendingLast_);
            });
    connect(entries_, &Model::rowsRemoved, this, [this](const QModelIndex&, int first, int last) {
        placesOf_ = -1;
        if (filtering()) {
            const auto at =
                shown_.erase(shown_.begin() + pendingFirst_, shown_.begin() + pendingLast_ + 1);
            std::for_each(at, shown_.end(), [&](int& row) { row -= last - first + 1; });
        }
        if (pendingFirst_ <= pendingLast_)
            endRemoveRows();
    });
    connect(entries_, &Model::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles) {
                const int first = proxyRowFor(topLeft.row());
                const int last = proxyRowFor(bottomRight.row() + 1) - 1;
                if (first <= last)
                    emit dataChanged(index(first, 0), index(last, 0), roles);
            });
}

} // namespace tarvok
