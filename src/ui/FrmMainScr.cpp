// Placeholder panel: controls exist so that the window builds; the panel's behaviour is not written yet.
#include "ui/FrmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace tarvok {

void FrmMain::createScrFrame() {
    FraScr = new QGroupBox(QStringLiteral("脚本"));
    FraScr->setObjectName(QStringLiteral("FraScr"));
    auto* grid = new QGridLayout(FraScr);
    int n = 0;
    TxtScr = new QLineEdit(FraScr);
    TxtScr->setObjectName(QStringLiteral("TxtScr"));
    grid->addWidget(TxtScr, n / 4, n % 4);
    ++n;
    TxtScrName = new QLineEdit(FraScr);
    TxtScrName->setObjectName(QStringLiteral("TxtScrName"));
    grid->addWidget(TxtScrName, n / 4, n % 4);
    ++n;
    LvwScr = new QTreeWidget(FraScr);
    LvwScr->setObjectName(QStringLiteral("LvwScr"));
    grid->addWidget(LvwScr, n / 4, n % 4);
    ++n;
    LstScrAct = new QListWidget(FraScr);
    LstScrAct->setObjectName(QStringLiteral("LstScrAct"));
    grid->addWidget(LstScrAct, n / 4, n % 4);
    ++n;
    LstScrNumber = new QListWidget(FraScr);
    LstScrNumber->setObjectName(QStringLiteral("LstScrNumber"));
    grid->addWidget(LstScrNumber, n / 4, n % 4);
    ++n;
    TxtScrID = new QLineEdit(FraScr);
    TxtScrID->setObjectName(QStringLiteral("TxtScrID"));
    grid->addWidget(TxtScrID, n / 4, n % 4);
    ++n;
    TxtAct = new QLineEdit(FraScr);
    TxtAct->setObjectName(QStringLiteral("TxtAct"));
    grid->addWidget(TxtAct, n / 4, n % 4);
    ++n;
    TxtNumber = new QLineEdit(FraScr);
    TxtNumber->setObjectName(QStringLiteral("TxtNumber"));
    grid->addWidget(TxtNumber, n / 4, n % 4);
    ++n;
    TxtScrAct = new QLineEdit(FraScr);
    TxtScrAct->setObjectName(QStringLiteral("TxtScrAct"));
    grid->addWidget(TxtScrAct, n / 4, n % 4);
    ++n;
    TxtScrUnitE = new QLineEdit(FraScr);
    TxtScrUnitE->setObjectName(QStringLiteral("TxtScrUnitE"));
    grid->addWidget(TxtScrUnitE, n / 4, n % 4);
    ++n;
    TxtScrUnitC = makeCombo(QStringLiteral("TxtScrUnitC"), FraScr);
    grid->addWidget(TxtScrUnitC, n / 4, n % 4);
    ++n;
    Command1 = new QPushButton(FraScr);
    Command1->setObjectName(QStringLiteral("Command1"));
    grid->addWidget(Command1, n / 4, n % 4);
    ++n;
    TxtScrOther = new QLineEdit(FraScr);
    TxtScrOther->setObjectName(QStringLiteral("TxtScrOther"));
    grid->addWidget(TxtScrOther, n / 4, n % 4);
    ++n;
    CmdSaveScr = new QPushButton(FraScr);
    CmdSaveScr->setObjectName(QStringLiteral("CmdSaveScr"));
    grid->addWidget(CmdSaveScr, n / 4, n % 4);
    ++n;
    CmdScrTypeAdd = new QPushButton(FraScr);
    CmdScrTypeAdd->setObjectName(QStringLiteral("CmdScrTypeAdd"));
    grid->addWidget(CmdScrTypeAdd, n / 4, n % 4);
    ++n;
    CmdScrTypeKill = new QPushButton(FraScr);
    CmdScrTypeKill->setObjectName(QStringLiteral("CmdScrTypeKill"));
    grid->addWidget(CmdScrTypeKill, n / 4, n % 4);
    ++n;
    CmdScrCopy = new QPushButton(FraScr);
    CmdScrCopy->setObjectName(QStringLiteral("CmdScrCopy"));
    grid->addWidget(CmdScrCopy, n / 4, n % 4);
    ++n;
}

void FrmMain::connectScrHandlers() {}

void FrmMain::LoadScriptType(const QString& /*id*/) {}
void FrmMain::SaveScriptType(const QString& /*id*/) {}
bool FrmMain::DeleteScriptType(const QString& /*id*/) { return true; }
void FrmMain::LstScr_Click() {}
void FrmMain::LstScrAdd_Click() {}
void FrmMain::LvwScr_Click() {}
void FrmMain::CmdSaveScr_Click() {}
void FrmMain::CmdScrAdd_Click() {}
void FrmMain::CmdScrKill_Click() {}
void FrmMain::CmdScrCopy_Click() {}
void FrmMain::CmdScrTypeAdd_Click() {}
void FrmMain::CmdScrTypeKill_Click() {}

void FrmMain::FillScrLineFields() {}

} // namespace tarvok
