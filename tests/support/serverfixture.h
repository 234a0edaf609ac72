#pragma once

#include "framework/net/netconnection.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

// Runs the real pagserver executable on a free loopback port over a fresh database: a new SQLite file
// in a temporary folder, or, with usePostgres, a new database in the cluster of env PAG_TEST_PG_URL
// (dropped at the end). Demo operators: "admin"/"admin" (all companies), "caixa"/"caixa" (company 01);
// without `demo` the server starts as a production one would: the schema and nothing else.
class ServerFixture {
public:
    struct Options {
        int demoSize = 200;
        bool usePostgres = false;
        QStringList extraArguments;
        bool demo = true;
        // When set, the server serves this database as it stands (another fixture may serve it too),
        // and the fixture neither creates nor drops it.
        QString databaseUrl;
    };

    ServerFixture();
    explicit ServerFixture(Options options);
    ~ServerFixture();

    // True when env PAG_TEST_PG_URL names a PostgreSQL cluster for tests.
    static bool postgresAvailable();
    // Runs one statement on a PostgreSQL database on a session of its own; returns the first column of
    // every row. Throws std::runtime_error with the database's reason.
    static QVariantList selectOnPostgres(const QString &databaseUrl, const QString &statement);

    // Starts the server and waits until it listens; throws std::runtime_error with its log otherwise.
    void start();
    // Asks the server to stop (SIGTERM) and waits for it; returns its exit code.
    int stop();
    // Kills the server at once, as a crash would.
    void kill();
    // Runs a pagserver administration command over this database with `input` on its standard input;
    // returns its exit status and puts its standard output into `output`.
    int runCommand(const QStringList &command, const QByteArray &input, QString *output = nullptr) const;

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString databaseUrl() const { return m_databaseUrl; }
    qint64 processId() const { return m_process.processId(); }
    // What the server wrote on stderr so far.
    QString log() const;

    // A connection to the named module, signed in as the operator (it connects on its first call).
    std::unique_ptr<TNetConnection> connection(const QString &serverName,
                                               const QString &operatorCode = QStringLiteral("admin"),
                                               const QString &password = QStringLiteral("admin")) const;

private:
    void createPostgresDatabase();
    void dropPostgresDatabase();

    Options m_options;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_databaseUrl;
    QString m_postgresName;
    quint16 m_port = 0;
};
