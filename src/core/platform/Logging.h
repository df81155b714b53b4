#pragma once

#include <QLoggingCategory>

// One category per subsystem, for the developer's diagnostics (the user's messages go through
// the Prompter). Switched on with QT_LOGGING_RULES, e.g. "lineminder.settings.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcReports)
Q_DECLARE_LOGGING_CATEGORY(lcAccounting)
Q_DECLARE_LOGGING_CATEGORY(lcLine)
Q_DECLARE_LOGGING_CATEGORY(lcMail)
Q_DECLARE_LOGGING_CATEGORY(lcSession)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
