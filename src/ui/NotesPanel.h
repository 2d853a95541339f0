#pragma once

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tarvok {

class PanelKit;

// The user's notes on IDs: the ID box, the note box and their three buttons, over the
// notes file Name.WQ of the program directory.
class NotesPanel : public QWidget {
    Q_OBJECT

  public:
    NotesPanel(PanelKit& kit, QWidget* parent);
    void compact(); // as the record panels' compact()

    // A selection's note: the ID shown, the note box emptied, the note looked up.
    void showNoteOf(const QString& id);
    // No ID: the boxes as the window starts.
    void clear();

    void CmdFind_Click();
    void CmdNew_Click();
    void CmdDelete_Click();
    void TxtNote_GotFocus();

  private:
    PanelKit& kit_;
    QGroupBox* FraNotes = nullptr;
    QLineEdit* TxtName = nullptr;
    QLineEdit* TxtNote = nullptr;
    QPushButton* CmdNew = nullptr;
    QPushButton* CmdFind = nullptr;
    QPushButton* CmdDelete = nullptr;
};

} // namespace tarvok
