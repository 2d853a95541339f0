// Placeholder: the catalogue readers are not written yet.
#include "ui/FrmMain.h"

namespace tarvok {

void FrmMain::connectCatalogueHandlers() {}

void FrmMain::LoadActionParameters(const QString& /*actionName*/) {}
void FrmMain::ListBuildingNames() {}
QString FrmMain::LookupBuildingName(const QString& /*buildingId*/) { return {}; }
QString FrmMain::LookupBuildingId(const QString& /*buildingName*/) { return {}; }
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
