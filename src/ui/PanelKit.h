#pragma once

#include "catalogues/Catalogues.h"
#include "ui/FieldHelpers.h"
#include "ui/FocusAndSelection.h"
#include "ui/WindowMessages.h"

#include <QObject>
#include <QWidget>

namespace tarvok {

// What the parts of the main window are handed: the catalogues, and the three things they
// share, each of its own concern: what the window tells the user (WindowMessages), the focus
// and selection state (FocusAndSelection) and the helpers of the fields (FieldHelpers).
class PanelKit : public QObject {
    Q_OBJECT

  public:
    PanelKit(Dialogs& dialogs, QWidget* window, const Catalogues& catalogues)
        : QObject(window), catalogues_(catalogues), messages_(dialogs, window),
          focus_(new FocusAndSelection(this)), fields_(catalogues, messages_) {}

    const Catalogues& catalogues() const { return catalogues_; }
    const ProgramFiles& files() const { return catalogues_.files(); }
    WindowMessages& messages() { return messages_; }
    FocusAndSelection& focus() { return *focus_; }
    FieldHelpers& fields() { return fields_; }

  private:
    const Catalogues& catalogues_;
    WindowMessages messages_;
    FocusAndSelection* focus_;
    FieldHelpers fields_;
};

} // namespace tarvok
