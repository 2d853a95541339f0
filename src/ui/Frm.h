#pragma once

#include "catalogues/ProgramFiles.h"
#include "ui/Dialogs.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tarvok {

class FrmMain;
class RulesDocument;

// The welcome window: shows the usage guide and opens the editor once the user has
// ticked that the guide was read. It stays loaded, hidden, until the editor closes it.
class Frm : public QWidget {
    Q_OBJECT

  public:
    // The editor it opens works on document, the open rules file.
    Frm(Dialogs& dialogs, ProgramFiles files, RulesDocument& document, QWidget* parent = nullptr);
    ~Frm() override;

    QLabel* Label1 = nullptr;
    QPlainTextEdit* TxtE = nullptr;
    QCheckBox* Chk = nullptr;
    QPushButton* CmdOpen = nullptr;

    void Form_Activate();
    void Chk_Click();
    void CmdOpen_Click();

    // The editor, once it has been opened.
    FrmMain* mainWindow() const { return main_.get(); }
    // Files named on the command line: the editor opens them (FrmMain::openAtStart) once
    // it shows.
    void setStartFiles(QStringList paths) { startFiles_ = std::move(paths); }

  protected:
    bool event(QEvent* event) override;

  private:
    Dialogs& dialogs_;
    ProgramFiles files_;
    RulesDocument& document_;
    QString lineBuffer_;
    bool guideLoaded_ = false;
    QStringList startFiles_;
    std::unique_ptr<FrmMain> main_;
};

} // namespace tarvok
