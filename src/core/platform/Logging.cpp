#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcSettings, "lineminder.settings")
Q_LOGGING_CATEGORY(lcReports, "lineminder.reports")
Q_LOGGING_CATEGORY(lcAccounting, "lineminder.accounting")
// lcLine ("lineminder.line") is still defined in line/LineSelection.cpp.
Q_LOGGING_CATEGORY(lcMail, "lineminder.mail")
Q_LOGGING_CATEGORY(lcSession, "lineminder.session")
Q_LOGGING_CATEGORY(lcUi, "lineminder.ui")
