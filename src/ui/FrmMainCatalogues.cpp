// Placeholder: the catalogue readers are not written yet.
#include "ui/FrmMain.h"

namespace tarvok {

void FrmMain::connectCatalogueHandlers() {}

QString FrmMain::LookupUnitName(const QString& /*unitId*/) { return {}; }
QString FrmMain::LookupUnitId(const QString& /*displayName*/) { return {}; }
bool FrmMain::FillUnitLists() { return true; }
void FrmMain::TxtScrUnitE_Change() {}
void FrmMain::Command1_Click() {}
void FrmMain::CmdFind_Click() {}
void FrmMain::CmdNew_Click() {}
void FrmMain::CmdDelete_Click() {}
void FrmMain::TxtNote_GotFocus() {}

} // namespace tarvok
