#include "ui/SectionRowsModel.h"

namespace tarvok {
namespace {

constexpr int kNoteColumn = 3;

// The text of a row's column; none for the note column.
template <class Row> auto cell(Row& row, int column) -> decltype(&row.number) {
    switch (column) {
    case 0:
        return &row.number;
    case 1:
        return &row.first;
    case 2:
        return &row.second;
    default:
        return nullptr;
    }
}

} // namespace

SectionRowsModel::SectionRowsModel(QStringList headers, Note note, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)), note_(std::move(note)) {}

void SectionRowsModel::setRows(std::vector<SectionRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void SectionRowsModel::appendRow(const SectionRow& row) {
    const int at = rowCount();
    beginInsertRows(QModelIndex(), at, at);
    rows_.push_back(row);
    endInsertRows();
}

QStringList SectionRowsModel::texts(int row) const {
    const SectionRow& r = rows_.at(static_cast<size_t>(row));
    return {r.number, r.first, r.second};
}

int SectionRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SectionRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant SectionRowsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const SectionRow& row = rows_[static_cast<size_t>(index.row())];
    if (index.column() == kNoteColumn) {
        // The whole note as a tooltip, where the column is narrow.
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return note_ ? note_(row) : QString();
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return *cell(row, index.column());
    return {};
}

QVariant SectionRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < headers_.size())
        return headers_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags SectionRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

bool SectionRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole)
        return false;
    QString* text = cell(rows_[static_cast<size_t>(index.row())], index.column());
    if (!text)
        return false;
    if (*text == value.toString())
        return true;
    *text = value.toString();
    const int last =
        index.column() >= 1 && columnCount() > kNoteColumn ? kNoteColumn : index.column();
    emit dataChanged(index, index.siblingAtColumn(last), {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool SectionRowsModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > rowCount() || count <= 0)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    rows_.insert(rows_.begin() + row, static_cast<size_t>(count), SectionRow{});
    endInsertRows();
    return true;
}

bool SectionRowsModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    endRemoveRows();
    return true;
}

} // namespace tarvok
