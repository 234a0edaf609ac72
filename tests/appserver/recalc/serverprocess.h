#pragma once

#include <QProcess>
#include <QSqlDatabase>

class DataPacket;

// The application server (pagserver, beside this executable) started as a process on a free loopback
// port over a database. Stopped, if still running, when destroyed. Its log goes to this process's
// stderr, or to `logFile` when one is given (QProcess::nullDevice() discards it).
class ServerProcess {
public:
    explicit ServerProcess(const QString &databaseUrl, const QString &logFile = {});
    ~ServerProcess();

    bool started() const { return m_port != 0; }
    QString errorText() const { return m_error; }
    quint16 port() const { return m_port; }
    qint64 pid() const { return m_process.processId(); }
    // Peak resident memory of the process so far (VmHWM), in KiB.
    qint64 peakMemoryKiB() const;
    // Ends the process at once, as a crash or a power cut would.
    void killHard();

private:
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};

// Writes `count` instalments of company 01 that post without errors (a document each, one in ten
// with a discount, one in ten with three-way apportionment rules), in one transaction; returns the
// payable packet with all of them marked.
DataPacket addPostableInstalments(QSqlDatabase &db, int count);
