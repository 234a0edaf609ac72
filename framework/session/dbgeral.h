#pragma once

#include "framework/session/databaseurl.h"

#include <QSqlDatabase>
#include <QString>

// SQL dialects a query may carry a text for. Only SQLite and PostgreSQL are run here;
// the others are kept as data beside them.
enum class SqlDialect { SQLite, PostgreSQL, Oracle, SqlServer, Legacy };

// The host's shared database connection: one per process, used by every selection list
// and by the operator checks. UI thread only, as every Qt SQL connection.
class TdtmDBGeral {
public:
    // Opens `url` (see DatabaseUrl), closing a previous connection first.
    // Throws std::runtime_error with a Portuguese message when it cannot be opened.
    void open(const QString &url);
    void close();
    bool isOpen() const;

    QSqlDatabase database() const;
    SqlDialect dialect() const { return m_dialect; }
    // The address in use, without password.
    QString displayUrl() const { return m_displayUrl; }

private:
    SqlDialect m_dialect = SqlDialect::SQLite;
    QString m_displayUrl;
};

TdtmDBGeral *dtmDBGeral();
