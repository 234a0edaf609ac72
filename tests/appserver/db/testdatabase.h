#pragma once

#include <QSqlDatabase>
#include <QTemporaryDir>

#include <memory>
#include <string>

enum class DbKind { SQLite, PostgreSQL };

std::string dbKindName(DbKind kind);

// A fresh, migrated database for one test: an SQLite file in a temporary folder, or a new database on
// the PostgreSQL cluster named by PAG_TEST_PG_URL, dropped when the test ends.
class TestDatabase {
public:
    explicit TestDatabase(DbKind kind);
    ~TestDatabase();

    // False for PostgreSQL when PAG_TEST_PG_URL is not set: the test is then skipped.
    static bool available(DbKind kind);

    QSqlDatabase &db() { return m_db; }
    const QString &url() const { return m_url; }
    // Another connection to the same database, under a new connection name.
    QSqlDatabase openAnother();

private:
    QString m_url;
    QString m_pgName;
    QSqlDatabase m_db;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_connections;
};
