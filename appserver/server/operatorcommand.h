#pragma once

#include <QSqlDatabase>
#include <QStringList>
#include <QTextStream>

// Runs one operator administration command over an open, migrated database:
//   operator add CODE [NAME]          creates an active operator (the name defaults to the code)
//   operator password CODE            replaces the operator's password
//   operator grant CODE COMPANY...    lets the operator use the companies
// A password is the first line of `input`, never an argument, so that it stays out of shell histories
// and process lists. Reports on `output`; returns the process exit status (0 done, 1 refused, 2 misused).
int runOperatorCommand(QSqlDatabase &db, const QStringList &command, QTextStream &input, QTextStream &output);
