#pragma once

#include "records/References.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class QColor;
class QLineEdit;
class QListView;
class QPushButton;
class QTabWidget;
class QWidget;

namespace tarvok {

class PanelKit;
class ReferenceLists;
class RegistryListModel;
class RulesDocument;
class UnitFinder;

// The tab control SSTab with the four registry lists, one tab each (AI triggers, team
// types, task forces, scripts): the list with its filter box above it, its add and delete
// buttons, and its 引用 list. Each list is a view of the file's reading.
class RegistryTabs : public QObject {
    Q_OBJECT

  public:
    using Kind = references::Kind;

    RegistryTabs(PanelKit& kit, RulesDocument& doc, QWidget* window);
    ~RegistryTabs() override;

    QTabWidget* widget() const { return SSTab; }
    QListView* list(Kind kind) const { return lists_[index(kind)]; }
    std::array<QListView*, 4> lists() const { return lists_; }
    RegistryListModel* entries(Kind kind) const;
    QPushButton* addButton(Kind kind) const { return adds_[index(kind)]; }
    QPushButton* killButton(Kind kind) const { return kills_[index(kind)]; }
    ReferenceLists& references() const { return *refs_; }

    // The four lists as the file reads now, each filter kept in force.
    void fill();
    // The same for the lists marked (all by default), after entries were added or removed or
    // another program changed the file: what was selected stays selected where it still is.
    void refill(std::array<bool, 4> lists = {true, true, true, true});
    // These records were written: the names beside their entries are read again.
    void recordsWritten(const QStringList& ids);
    // The entry the user selected in a list; nothing when none is.
    std::optional<QString> selected(Kind kind) const;
    // No entry selected in the other lists.
    void clearOtherSelections(Kind kept);
    // Selects a record as a user click would: its tab is shown, a filter hiding it is
    // cleared, and its selection handler runs. A trigger is found by its ID, whatever its
    // name. A locked list takes no selection, as it takes no click.
    void selectRecord(Kind kind, const QString& id);
    // The four lists' text colour (文字前景色).
    void setTextColour(const QColor& colour);
    // The filter box of the list on show takes the focus (Ctrl+F).
    void focusFilter();
    // The mod in use changed: the filters in force find units by their new names.
    void unitNamesChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static size_t index(Kind kind) { return static_cast<size_t>(kind); }
    // The four filters apply their texts again.
    void refilter();

    PanelKit& kit_;
    RulesDocument& doc_;
    QTabWidget* SSTab = nullptr;
    ReferenceLists* refs_ = nullptr;
    std::unique_ptr<UnitFinder> units_;   // what the four filters know of the units used
    std::array<QListView*, 4> lists_{};   // LstRoot, LstFig, LstSpe, LstScr
    std::array<QLineEdit*, 4> filters_{}; // TxtFindRoot, TxtFindFig, TxtFindSpe, TxtFindScr
    std::array<QPushButton*, 4> adds_{};  // CmdAdd, CmdTeamAdd, CmdSpeAdd, CmdScrAdd
    std::array<QPushButton*, 4> kills_{}; // CmdKill, CmdTeamKill, CmdSpeKill, CmdScrKill
    QPointer<QListView> refocus_;         // had the focus when a reading began
};

} // namespace tarvok
