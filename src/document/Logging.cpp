#include "document/Logging.h"

namespace tarvok {

Q_LOGGING_CATEGORY(lcDocument, "tarvok.document", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRecords, "tarvok.records", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "tarvok.ui", QtWarningMsg)

} // namespace tarvok
