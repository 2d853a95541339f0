#pragma once

#include "document/RulesDocument.h"
#include "records/TriggerTable.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <functional>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tarvok {

class PanelKit;
class RulesDocument;

// The rows of a trigger table as a view shows them: sorted and filtered by the table's
// rules, edited weights and ticks marked.
class TriggerTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    triggertable::Table& table() { return table_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    void sort(int column, Qt::SortOrder order) override;

    // The table's row on show at row.
    int tableRow(int row) const { return shown_[row]; }
    // Reads the file again (the sort and filter kept); the number of edits dropped.
    int reload(const RulesIndex& index, const triggertable::UnitName& unitName,
               const QString& file);
    void setFilter(const QString& text);
    // Sets column of the given table rows to typed; false when the value is refused.
    bool setMany(const std::vector<int>& rows, int column, const QString& typed);
    // The table changed as a whole (a revert, a save).
    void changedAll();

  signals:
    void editsChanged();

  private:
    void refilter();

    triggertable::Table table_;
    std::vector<int> order_; // every row, in the sort's order
    std::vector<int> shown_; // the rows the filter keeps, in that order
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QString filter_;
};

// The window "触发总表": every trigger of the open file in one table, to compare and set
// weights and difficulties of many triggers and save them in one write.
class FrmTable : public QWidget {
    Q_OBJECT

  public:
    FrmTable(PanelKit& kit, RulesDocument& doc, QWidget* parent);

    // Double-click: the trigger's key for the main window to select.
    void setOnChoose(std::function<void(const QString& key)> choose) {
        choose_ = std::move(choose);
    }
    // Before another file opens or the program ends: the edits saved, dropped or kept as the
    // user answers; false to stay.
    bool leave();
    // Reads the file again, keeping the edits of triggers still there.
    void reload();
    // The file changed (the main window tells): read again; after another program's change,
    // an opening, undo or redo, what this table saved is no longer the file's.
    void follow(const DocumentChange& change);
    TriggerTableModel& model() { return model_; }

    QSize sizeHint() const override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CmdTableSet_Click();
    bool CmdTableSave_Click();
    void CmdTableRevert_Click();
    void showTitle();

    PanelKit& kit_;
    RulesDocument& doc_;
    TriggerTableModel model_;
    std::function<void(const QString&)> choose_;
    int dropped_ = 0;

    QLineEdit* TxtTableFind = nullptr;
    QTableView* TblTriggers = nullptr;
    QComboBox* CboTableField = nullptr;
    QLineEdit* TxtTableValue = nullptr;
    QPushButton* CmdTableSet = nullptr;
    QPushButton* CmdTableSave = nullptr;
    QPushButton* CmdTableRevert = nullptr;
};

} // namespace tarvok
