#include "ui/RegistryFilter.h"

#include "catalogues/Catalogues.h"
#include "document/RulesIndex.h"
#include "records/FieldRules.h"
#include "records/UnitUses.h"
#include "ui/RegistryListModel.h"

#include <algorithm>
#include <numeric>

namespace tarvok {

UnitFinder::UnitFinder(const Catalogues& catalogues) : catalogues_(catalogues) {}
UnitFinder::~UnitFinder() = default;

std::vector<bool> UnitFinder::usersOf(const std::shared_ptr<const RulesIndex>& reading,
                                      references::Kind kind, const QString& text) {
    if (!reading)
        return {};
    if (!uses_ || reading_.lock() != reading) {
        uses_ = std::make_unique<unituses::UnitUses>(*reading);
        reading_ = reading;
        named_ = false;
    }
    if (!named_) {
        catalogues_.nameUses(*uses_);
        named_ = true;
    }
    return uses_->usersOf(kind, text);
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

std::vector<int> RegistryFilter::matching(const QString& key) const {
    std::vector<int> rows;
    if (key.isEmpty())
        return rows;
    const std::vector<bool> users =
        finder_ ? finder_->usersOf(entries_->reading(), entries_->kind(), key)
                : std::vector<bool>();
    for (int row = 0, n = entries_->rowCount(); row < n; ++row) {
        const auto reading = static_cast<size_t>(entries_->readingRow(row)); // -1: none
        if (entries_->searchKey(row).contains(key) || (reading < users.size() && users[reading]))
            rows.push_back(row);
    }
    return rows;
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
        shown_ = matching(key_); // a new reading, under the text in force
        endResetModel();
    });
    connect(entries_, &Model::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) {
                pendingFirst_ = proxyRowFor(first);
                beginInsertRows(QModelIndex(), pendingFirst_, pendingFirst_ + last - first);
            });
    connect(entries_, &Model::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
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
