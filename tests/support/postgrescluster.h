#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A PostgreSQL cluster of a test's own, with settings the shared one lacks (such as few connections):
// created in a temporary folder, listening on a free loopback port, stopped and removed with the object.
class PostgresCluster {
public:
    // Throws std::runtime_error with the reason when the cluster does not start.
    explicit PostgresCluster(int maxConnections);
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster &) = delete;
    PostgresCluster &operator=(const PostgresCluster &) = delete;

    // True when the PostgreSQL server programs are installed.
    static bool available();
    // The URL of its maintenance database, as the superuser "postgres".
    QString url() const;

private:
    // Runs a server program, as the postgres user when the test runs as root (the server refuses root).
    void run(const QString &program, const QStringList &arguments) const;

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    bool m_started = false;
};
