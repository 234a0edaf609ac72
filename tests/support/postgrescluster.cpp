#include "tests/support/postgrescluster.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QVersionNumber>

#include <stdexcept>
#include <unistd.h>

namespace {

// The newest installed server version's programs, or an empty text.
QString serverPrograms() {
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QString newest;
    for (const QString &version : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFile::exists(versions.filePath(version + QStringLiteral("/bin/initdb"))) &&
            (newest.isEmpty() || QVersionNumber::fromString(version) > QVersionNumber::fromString(newest)))
            newest = version;
    }
    return newest.isEmpty() ? QString() : versions.filePath(newest + QStringLiteral("/bin"));
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

bool PostgresCluster::available() {
    return !serverPrograms().isEmpty();
}

PostgresCluster::PostgresCluster(int maxConnections) {
    if (!m_dir.isValid() || !available())
        throw std::runtime_error("no PostgreSQL server programs or no temporary folder");
    if (::geteuid() == 0)
        run(QStringLiteral("chown"), {QStringLiteral("postgres"), m_dir.path()});
    run(serverPrograms() + QStringLiteral("/initdb"),
        {QStringLiteral("--no-sync"), QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
         QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("--auth=trust"),
         QStringLiteral("-E"), QStringLiteral("UTF8")});
    m_port = freePort();
    run(serverPrograms() + QStringLiteral("/pg_ctl"),
        {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-l"),
         m_dir.filePath(QStringLiteral("log")), QStringLiteral("-w"), QStringLiteral("-o"),
         QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=%3")
             .arg(m_port)
             .arg(m_dir.path())
             .arg(maxConnections),
         QStringLiteral("start")});
    m_started = true;
}

PostgresCluster::~PostgresCluster() {
    if (!m_started)
        return;
    try {
        run(serverPrograms() + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-m"),
             QStringLiteral("immediate"), QStringLiteral("stop")});
    } catch (const std::exception &) {
        // The folder goes anyway; a server left running dies with the machine's next clean-up.
    }
}

QString PostgresCluster::url() const {
    return QStringLiteral("postgresql://postgres@127.0.0.1:%1/postgres").arg(m_port);
}

void PostgresCluster::run(const QString &program, const QStringList &arguments) const {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const bool asPostgres = ::geteuid() == 0 && !program.endsWith(QStringLiteral("chown"));
    if (asPostgres)
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                                             QStringLiteral("--"), program} +
                                                     arguments);
    else
        process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(QStringLiteral("%1 failed: %2")
                                     .arg(program, QString::fromLocal8Bit(process.readAll()))
                                     .toStdString());
}
