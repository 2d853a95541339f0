#pragma once

#include "records/ScriptSection.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

namespace tarvok {

// The rows of the task force or script on show, as the panel edits them: each row's
// number and its two values (columns 0 to 2), which is what a save writes. A note
// column, when there is one, shows what the panel makes of a row (a step's action name,
// a unit's display name); it is worked out when shown and never saved.
class SectionRowsModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using Note = std::function<QString(const SectionRow& row)>;
    // One header per column; a fourth header asks for the note column.
    SectionRowsModel(QStringList headers, Note note, QObject* parent = nullptr);

    const std::vector<SectionRow>& rows() const { return rows_; }
    void setRows(std::vector<SectionRow> rows);
    void appendRow(const SectionRow& row);
    // The texts of a row (number, column 1, column 2).
    QStringList texts(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Columns 0 to 2 take text; the note column follows columns 1 and 2.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

  private:
    QStringList headers_;
    Note note_;
    std::vector<SectionRow> rows_;
};

} // namespace tarvok
