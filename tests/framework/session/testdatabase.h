#pragma once

#include <QSqlDatabase>
#include <QTemporaryDir>

// A fresh SQLite file with the real schema and the demo data (operators admin/admin and
// caixa/caixa, companies 01 to 03), opened as the session's shared connection dtmDBGeral.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();

    QString url() const { return m_url; }
    // A second connection to the same file, for changes behind the session's back.
    QSqlDatabase side();

private:
    QTemporaryDir m_dir;
    QString m_url;
};
