#pragma once

#include <QProcess>
#include <QTemporaryDir>

// The real application server, started from the bin folder on a free loopback port over a fresh
// demo SQLite file, and stopped with the object.
class ServerProcess {
public:
    ServerProcess();
    ~ServerProcess();

    bool start();
    int port() const { return listeningPort; }
    QString databaseUrl() const;
    QString failure() const { return failureText; }

private:
    QTemporaryDir dataDir;
    QProcess process;
    int listeningPort = 0;
    QString failureText;
};
