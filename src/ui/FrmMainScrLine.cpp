// Placeholder: the script line editor is not written yet.
#include "ui/FrmMain.h"

namespace tarvok {

void FrmMain::connectScrLineHandlers() {}

void FrmMain::LstScrAct_Click() {}
void FrmMain::LstScrNumber_Click() {}
void FrmMain::TxtAct_Change() {}
void FrmMain::TxtAct_LostFocus() {}
void FrmMain::TxtNumber_Change() {}
void FrmMain::TxtNumber_LostFocus() {}
void FrmMain::TxtScrID_Change() {}

} // namespace tarvok
