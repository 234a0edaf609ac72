#pragma once

#include <QLoggingCategory>

// The server's log on stderr: one line per call (module, method, duration, outcome) and per
// connection event. Never argument values or passwords.
Q_DECLARE_LOGGING_CATEGORY(lcServer)
