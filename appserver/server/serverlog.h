#pragma once

#include <QLoggingCategory>

// The server's log on stderr: one line per call (module, method, duration, outcome) and per
// connection event. Never argument values or passwords.
Q_DECLARE_LOGGING_CATEGORY(lcServer)

// Every message of the process as one line: local time to the millisecond, "warning " or "error "
// where it is one, the message. Formats the time once a second, not once a line.
void installServerLog();
