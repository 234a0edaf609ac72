#pragma once

#include <QString>

// The one line the log holds per call, written by a thread of its own: formatting the time stamp and
// writing the line cost a call more than a small method's own work, and the answer need not wait for
// them. Lines keep their order; those still waiting are written before the process ends.
namespace CallLog {

void info(QString line);
void warning(QString line);
// Returns once every line handed over so far is written.
void flush();

} // namespace CallLog
