#pragma once

#include "records/RecordOps.h"
#include "ui/RecordPanel.h"

#include <QString>

#include <optional>

class QColor;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeView;
class QWidget;

namespace tarvok {

class PanelKit;
class SectionRowsModel;

// The task force and script panels are one design used twice: an ID box, a name box,
// a list view of numbered rows (a view of the panel's SectionRowsModel), three entry
// fields for the selected row (its number, then the texts of columns 1 and 2), and
// buttons to add and delete a row, save and copy. This class holds that design; TaskForcePanel and
// ScriptPanel build their frames and add what only they have.
class SectionPanel : public RecordPanel {
    Q_OBJECT

  public:
    QString id() const;
    QString name() const override;
    void setId(const QString& id);
    QString recordKey() const override { return id(); }
    bool hasRows() const;

    // Shows the selected row in the entry fields.
    virtual void fillEntryFields() = 0;
    // After the entry fields were emptied: what explains them is emptied too.
    virtual void entryFieldsEmptied() {}
    void show(const QString& id) override;
    void clear() override;
    Saved save(SaveMode mode) override;
    void captureBaseline() override;
    // In add mode Enter writes the new row, as 写入 does.
    void enterPressed() override;
    // The text colour of its lists of rows (文字前景色).
    virtual void setTextColour(const QColor& colour);
    // Ctrl+C in the rows puts the selected rows on the clipboard, named as this kind of
    // rows; Ctrl+V adds the rows on the clipboard after the last row, unless they are named
    // as rows of the other kind.
    void copyRows();
    void pasteRows();

  protected:
    enum class Kind { TaskForce, Script };
    struct Parts {
        QGroupBox* frame = nullptr;
        QLineEdit* idBox = nullptr;
        QLineEdit* nameBox = nullptr;
        QTreeView* view = nullptr;
        QWidget* fields[3] = {nullptr, nullptr, nullptr};
        QPushButton* addButton = nullptr;
        QPushButton* killButton = nullptr;
        QPushButton* saveButton = nullptr;
        QPushButton* copyButton = nullptr;
        QPushButton* upButton = nullptr;   // 上移: the selected row one place up, renumbered
        QPushButton* downButton = nullptr; // 下移
    };

    SectionPanel(PanelKit& kit, RulesDocument& doc, Kind kind, QWidget* parent);
    // The subclass's controls; the list view gets its rows, with a column per header.
    void setParts(const Parts& parts, const QStringList& columns);
    // The buttons, the list view and the row fields' edits of the selected row.
    void connectCommonHandlers();

    void loadSection(const QString& id);
    void put(const records::SectionRecord& record); // a record as read, on show
    void saveClicked();
    void copyClicked();
    void addRowClicked();
    void removeRowClicked();
    void moveRowClicked(bool up);
    void rowClicked();
    // The texts of the selected row (number, column 1, column 2); empty when none.
    QStringList selectedRowTexts() const;
    // Writes a column of the selected row, while the list follows the fields.
    void updateSelectedRow(int column, const QString& text);
    // What a fourth column shows for a row (nothing when the list view has three
    // columns). The save never reads it.
    virtual QString rowNote(const SectionRow& row) const;
    // Why a save refuses the rows on show, beyond their numbering; nothing when it takes
    // them.
    virtual std::optional<QString> rowsRefused() const;
    const std::vector<SectionRow>& rows() const;
    const records::SectionFields& loadedFields() const { return loaded_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int selectedRow() const; // -1 for none
    // The row fields empty, as they are when no row is selected.
    void emptyEntryFields();
    // Why a save would drop a value typed into a row field: no row is selected to take it,
    // or a new row is not written yet. Nothing when every value has its row.
    std::optional<QString> strayRowValue() const;
    void leaveAddMode();
    SectionKind sectionKind() const;

    Kind kind_;
    Parts parts_;
    QStringList columns_; // the rows' column captions, which name the row fields
    SectionRowsModel* rows_ = nullptr;
    // Between the first click of 添加 and a successful 写入: the fields hold a new row.
    bool adding_ = false;
    records::SectionFields loaded_; // the name and rows right after the load
};

} // namespace tarvok
