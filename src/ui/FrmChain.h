#pragma once

#include "records/RecordChain.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tarvok {

// The dialog of a chain of records ("复制整套" or "新建整套"): one row per record, with its
// kind, its ID, the new ID and name the user gives it and whether it is copied. 确定 asks
// for the rows to be written; the dialog stays open until its owner closes it.
class FrmChain : public QDialog {
    Q_OBJECT

  public:
    // copying: the rows are copies of records of the file (the tick is the user's); a new
    // chain's rows are all made.
    FrmChain(QWidget* parent, const QString& title, std::vector<chain::ChainRow> rows,
             const TextCodec& codec, bool copying);

    // The rows as the user left them: new IDs, names and ticks.
    std::vector<chain::ChainRow> rows() const;
    // The text of the box that names the rows: a new chain's "名称", a copy's "名称后缀".
    QString namingText() const;
    // A new chain's trigger: its country, side and condition as chosen.
    struct Firing {
        QString country, side, condition;
    };
    Firing firing() const;
    // The countries a new chain's trigger may name, "<all>" first.
    void setCountries(const QStringList& countries);

  signals:
    void chosen();

  private:
    // The names of the rows the user did not name himself, after the box: a new chain's
    // name, or a ticked copy's original name with the suffix.
    void nameRows();

    QTreeWidget* LvwChain = nullptr;
    QLineEdit* TxtChainName = nullptr;    // "名称" of a new chain, "名称后缀" of a copy
    QComboBox* CboChainCountry = nullptr; // a new chain's trigger only
    QComboBox* CboChainOwner = nullptr;
    QComboBox* CboChainKey = nullptr;
    QPushButton* CmdChainOK = nullptr;
    QPushButton* CmdChainCancel = nullptr;
    std::vector<chain::ChainRow> rows_;
    std::vector<bool> named_; // a row whose name the user edited keeps it
    bool naming_ = false;     // the rows' names are being set from the box
    bool copying_;
};

} // namespace tarvok
