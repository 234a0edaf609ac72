#pragma once

#include <QString>

// Opens the session's shared database (dtmDBGeral) for the sign-in. The application server
// prepares a database (tables, demo data) when it starts over it; a database it has not prepared
// yet, an SQLite file that does not exist included, is refused with a Portuguese message that
// says so, and no file is created.
void openSessionDatabase(const QString &url);
