#include "ui/RegistryListModel.h"

#include "document/RulesIndex.h"
#include "records/FieldRules.h"

namespace tarvok {

RegistryListModel::RegistryListModel(references::Kind kind, QObject* parent)
    : QAbstractListModel(parent), kind_(kind) {}

void RegistryListModel::setIndex(std::shared_ptr<const RulesIndex> index) {
    beginResetModel();
    letGo(index_);
    index_ = std::move(index);
    renamed_.clear();
    rows_.clear();
    if (index_) {
        const RulesScan& scan = index_->scan();
        const std::vector<QByteArrayView>* const byKind[] = {&scan.triggerKeys, &scan.teamTypes,
                                                             &scan.taskForces, &scan.scriptTypes};
        const std::vector<QByteArrayView>& entries = *byKind[static_cast<int>(kind_)];
        rows_.resize(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            rows_[i].bytes = entries[i];
    }
    endResetModel();
}

int RegistryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant RegistryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(index.row());
    case NameRole:
        return name(index.row());
    case Qt::ToolTipRole:
        return fileOf(index.row());
    default:
        return {};
    }
}

const RegistryListModel::Row& RegistryListModel::decodedRow(int row) const {
    Row& r = rows_[static_cast<size_t>(row)];
    if (!r.decoded) {
        r.text = index_->codec().decode(r.bytes);
        r.decoded = true;
    }
    return r;
}

QString RegistryListModel::fileOf(int row) const {
    // Only a reading of several files says which one holds a record.
    const fileset::Origins& origins = index_->origins();
    if (origins.partCount() < 2)
        return {};
    const QByteArrayView entry = rows_[static_cast<size_t>(row)].bytes;
    std::vector<qsizetype> lines;
    if (kind_ == references::Kind::Trigger) {
        lines = index_->triggerLines(entry.first(std::max<qsizetype>(entry.indexOf('='), 0)));
    } else {
        for (const IniText::Section& s : index_->sections(entry))
            lines.push_back(s.header);
    }
    if (lines.empty())
        return {};
    const int part = origins.place(lines.front()).part;
    return part == 0 ? QString() : QStringLiteral("位于 %1").arg(origins.name(part));
}

QString RegistryListModel::text(int row) const {
    return decodedRow(row).text;
}

QString RegistryListModel::name(int row) const {
    if (kind_ == references::Kind::Trigger) // a trigger's entry holds its name
        return {};
    const Row& r = decodedRow(row);
    if (const auto it = renamed_.constFind(r.text); it != renamed_.cend())
        return *it;
    if (!index_)
        return {};
    const TextCodec& codec = index_->codec();
    const QByteArray typed = r.added ? codec.encode(r.text) : QByteArray();
    return codec.decode(index_->name(r.added ? QByteArrayView(typed) : r.bytes));
}

const QString& RegistryListModel::searchKey(int row) const {
    Row& r = rows_[static_cast<size_t>(row)];
    if (r.key.isNull())
        r.key = fieldrules::searchKey(text(row) + QLatin1Char(' ') + name(row));
    return r.key;
}

QStringList RegistryListModel::texts() const {
    // The entries not shown yet, decoded in one pass.
    std::vector<QByteArrayView> pending;
    for (const Row& r : rows_)
        if (!r.decoded)
            pending.push_back(r.bytes);
    if (!pending.empty()) {
        const QStringList decoded = index_->codec().decodeAll(pending);
        qsizetype next = 0;
        for (Row& r : rows_)
            if (!r.decoded) {
                r.text = decoded[next++];
                r.decoded = true;
            }
    }
    QStringList out;
    out.reserve(static_cast<qsizetype>(rows_.size()));
    for (const Row& r : rows_)
        out << r.text;
    return out;
}

void RegistryListModel::insertEntry(int row, const QString& text) {
    beginInsertRows(QModelIndex(), row, row);
    Row entry;
    entry.added = true;
    entry.decoded = true;
    entry.text = text;
    rows_.insert(rows_.begin() + row, std::move(entry));
    endInsertRows();
}

void RegistryListModel::removeEntry(int row) {
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void RegistryListModel::setName(const QString& id, const QString& name) {
    renamed_.insert(id, name);
    // The reading's entries are compared as bytes: only a record that decodes is ever
    // saved, so its ID is the bytes of its text.
    const QByteArray bytes = index_ ? index_->codec().encode(id) : QByteArray();
    for (size_t i = 0; i < rows_.size(); ++i) {
        Row& r = rows_[i];
        if (r.added ? r.text != id : r.bytes != bytes)
            continue;
        r.key = QString(); // compared anew
        const QModelIndex at = index(static_cast<int>(i));
        emit dataChanged(at, at, {NameRole});
    }
}

} // namespace tarvok
