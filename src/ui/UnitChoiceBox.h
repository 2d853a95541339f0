#pragma once

#include "catalogues/UnitChoices.h"

#include <QAbstractListModel>
#include <QString>

#include <optional>

class QComboBox;

namespace tarvok {

class PanelKit;

// The entries of a unit or building choice box as a list model: each shows its label and
// carries its type's ID under Qt::UserRole.
class UnitChoiceModel : public QAbstractListModel {
    Q_OBJECT

  public:
    using QAbstractListModel::QAbstractListModel;
    void setChoices(UnitChoices choices);
    const UnitChoices& choices() const { return choices_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    UnitChoices choices_;
};

// A name box of units or buildings (CboSpeC, CboUnitC, TxtScrUnitC): what its entries and
// its typed text stand for. Typing offers every entry whose name or ID holds the text.
class UnitChoiceBox {
  public:
    explicit UnitChoiceBox(QComboBox* box);

    // The entries replaced; the text on show stays and no change handler runs.
    void setChoices(UnitChoices choices);
    const UnitChoices& choices() const { return model_->choices(); }

    // The ID the box's text stands for: the chosen entry's own ID, else the typed text
    // matched as an ID, then as a name; empty when it stands for none. Nothing when several
    // types share the typed name: the status bar says so, and the caller sets nothing.
    // The game reads IDs in any letter case: when the box stands for the type the ID box
    // already holds (shownId), that text is kept as the file has it.
    std::optional<QString> chosenId(PanelKit& kit, const QString& shownId = {}) const;
    // What the box shows for the type id: its entry's label, else the name the catalogues
    // give it.
    QString labelOf(PanelKit& kit, const QString& id) const;

  private:
    std::optional<QString> chosenIdAsListed(PanelKit& kit) const;

    QComboBox* box_;
    UnitChoiceModel* model_;
};

} // namespace tarvok
