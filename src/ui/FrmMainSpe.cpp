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

void FrmMain::createSpeFrame() {
    FraSpe = new QGroupBox(QStringLiteral("特遣小队"));
    FraSpe->setObjectName(QStringLiteral("FraSpe"));
    auto* grid = new QGridLayout(FraSpe);
    int n = 0;
    TxtSpe = new QLineEdit(FraSpe);
    TxtSpe->setObjectName(QStringLiteral("TxtSpe"));
    grid->addWidget(TxtSpe, n / 4, n % 4);
    ++n;
    TxtSpeName = new QLineEdit(FraSpe);
    TxtSpeName->setObjectName(QStringLiteral("TxtSpeName"));
    grid->addWidget(TxtSpeName, n / 4, n % 4);
    ++n;
    LvwSpe = new QTreeWidget(FraSpe);
    LvwSpe->setObjectName(QStringLiteral("LvwSpe"));
    grid->addWidget(LvwSpe, n / 4, n % 4);
    ++n;
    TxtID = new QLineEdit(FraSpe);
    TxtID->setObjectName(QStringLiteral("TxtID"));
    grid->addWidget(TxtID, n / 4, n % 4);
    ++n;
    TxtSpeNum = new QLineEdit(FraSpe);
    TxtSpeNum->setObjectName(QStringLiteral("TxtSpeNum"));
    grid->addWidget(TxtSpeNum, n / 4, n % 4);
    ++n;
    CboSpeE = makeCombo(QStringLiteral("CboSpeE"), FraSpe);
    grid->addWidget(CboSpeE, n / 4, n % 4);
    ++n;
    CboSpeC = makeCombo(QStringLiteral("CboSpeC"), FraSpe);
    grid->addWidget(CboSpeC, n / 4, n % 4);
    ++n;
    CmdCE2 = new QPushButton(FraSpe);
    CmdCE2->setObjectName(QStringLiteral("CmdCE2"));
    grid->addWidget(CmdCE2, n / 4, n % 4);
    ++n;
    CmdSaveSpe = new QPushButton(FraSpe);
    CmdSaveSpe->setObjectName(QStringLiteral("CmdSaveSpe"));
    grid->addWidget(CmdSaveSpe, n / 4, n % 4);
    ++n;
    CmdSpeTypeAdd = new QPushButton(FraSpe);
    CmdSpeTypeAdd->setObjectName(QStringLiteral("CmdSpeTypeAdd"));
    grid->addWidget(CmdSpeTypeAdd, n / 4, n % 4);
    ++n;
    CmdSpeTypeKill = new QPushButton(FraSpe);
    CmdSpeTypeKill->setObjectName(QStringLiteral("CmdSpeTypeKill"));
    grid->addWidget(CmdSpeTypeKill, n / 4, n % 4);
    ++n;
    CmdSpeCopy = new QPushButton(FraSpe);
    CmdSpeCopy->setObjectName(QStringLiteral("CmdSpeCopy"));
    grid->addWidget(CmdSpeCopy, n / 4, n % 4);
    ++n;
}

void FrmMain::connectSpeHandlers() {}

void FrmMain::LoadTaskForce(const QString& /*id*/) {}
void FrmMain::SaveTaskForce(const QString& /*id*/) {}
bool FrmMain::DeleteTaskForce(const QString& /*id*/) { return true; }
void FrmMain::LstSpe_Click() {}
void FrmMain::LstSpeAdd_Click() {}
void FrmMain::LvwSpe_Click() {}
void FrmMain::CmdSaveSpe_Click() {}
void FrmMain::CmdSpeAdd_Click() {}
void FrmMain::CmdSpeKill_Click() {}
void FrmMain::CmdSpeCopy_Click() {}
void FrmMain::CmdSpeTypeAdd_Click() {}
void FrmMain::CmdSpeTypeKill_Click() {}
void FrmMain::TxtID_Change() {}
void FrmMain::TxtSpeNum_Change() {}
void FrmMain::CboSpeE_Change() {}
void FrmMain::CboSpeE_Click() {}

void FrmMain::FillSpeEntryFields() {}

} // namespace tarvok
