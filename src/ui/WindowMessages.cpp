#include "ui/WindowMessages.h"

#include "document/Logging.h"
#include "ui/Messages.h"

#include <QLabel>
#include <QStatusBar>

namespace tarvok {

MsgAnswer WindowMessages::msg(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons) {
    if (icon == MsgIcon::Information && buttons == MsgButtons::Ok)
        ++refusals_;
    qCDebug(lcUi) << "message:" << title << text;
    return dialogs_.message(window_, text, title.isEmpty() ? kAppName : title, icon, buttons);
}

bool WindowMessages::reportWrite(const filestore::WriteResult& result) {
    if (result.ok()) {
        if (!result.versionKept())
            status(messages::versionNotKept(result.versionFailure()));
        return true;
    }
    msg(messages::writeFailure(result), messages::kErrorTitle, MsgIcon::Information);
    return false;
}

void WindowMessages::status(const QString& text) {
    if (statusBar_)
        statusBar_->showMessage(text);
}

void WindowMessages::hint(const QString& text) {
    if (hintLabel_)
        hintLabel_->setText(text);
}

} // namespace tarvok
