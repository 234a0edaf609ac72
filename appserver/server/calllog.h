#pragma once

#include <QString>

// The one line the log holds per call, written by a thread of its own: formatting the line and its time
// stamp and writing it cost a call more than a small method's own work, and the answer need not wait for
// them. The thread wakes once for the lines of a few milliseconds, not once per call. Lines keep their
// order; those still waiting are written before the process ends.
namespace CallLog {

// What the line of one call says. Names come from the client and are made printable when written.
struct Call {
    int connectionId = 0;
    QString operatorCode;
    QString module;
    QString method;
    qint64 nanoseconds = 0;
    const char *outcome = "";
    // Why a call failed on the server's side; such a line is a warning.
    QString detail;
};

void add(Call call);
// Returns once every line handed over so far is written.
void flush();

} // namespace CallLog
