#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcSettings, "lineminder.settings")
Q_LOGGING_CATEGORY(lcReports, "lineminder.reports")
Q_LOGGING_CATEGORY(lcAccounting, "lineminder.accounting")
Q_LOGGING_CATEGORY(lcLine, "lineminder.line")
Q_LOGGING_CATEGORY(lcMail, "lineminder.mail")
Q_LOGGING_CATEGORY(lcSession, "lineminder.session")
Q_LOGGING_CATEGORY(lcUi, "lineminder.ui")
