#include "tests/support/serverfixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <stdexcept>

namespace {

QString postgresUrl() {
    return qEnvironmentVariable("PAG_TEST_PG_URL");
}

// Runs one statement on the cluster's maintenance database (CREATE/DROP DATABASE cannot run elsewhere).
void runOnCluster(const QString &statement) {
    ServerFixture::selectOnPostgres(postgresUrl(), statement);
}

} // namespace

QVariantList ServerFixture::selectOnPostgres(const QString &databaseUrl, const QString &statement) {
    const QUrl url(databaseUrl);
    const QString name = QStringLiteral("pagtest-admin-%1").arg(QRandomGenerator::global()->generate());
    QVariantList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setPassword(url.password());
        db.setDatabaseName(url.path().mid(1));
        if (!db.open())
            throw std::runtime_error("cannot reach " + url.host().toStdString() + ": " +
                                     db.lastError().text().toStdString());
        QSqlQuery query(db);
        if (!query.exec(statement))
            throw std::runtime_error(query.lastError().text().toStdString());
        while (query.next())
            values.append(query.value(0));
    }
    QSqlDatabase::removeDatabase(name);
    return values;
}

ServerFixture::ServerFixture()
    : ServerFixture(Options()) {}

ServerFixture::ServerFixture(Options options)
    : m_options(std::move(options)) {
    if (!m_options.databaseUrl.isEmpty())
        m_databaseUrl = m_options.databaseUrl;
    else if (m_options.usePostgres)
        createPostgresDatabase();
    else
        m_databaseUrl = QStringLiteral("sqlite:%1").arg(m_dir.filePath(QStringLiteral("pag.sqlite")));
}

ServerFixture::~ServerFixture() {
    if (m_process.state() != QProcess::NotRunning)
        stop();
    if (!m_postgresName.isEmpty())
        dropPostgresDatabase();
}

bool ServerFixture::postgresAvailable() {
    return !postgresUrl().isEmpty();
}

void ServerFixture::createPostgresDatabase() {
    if (!postgresAvailable())
        throw std::runtime_error("PAG_TEST_PG_URL is not set");
    m_postgresName = QStringLiteral("pagtest_%1_%2")
                         .arg(QCoreApplication::applicationPid())
                         .arg(QRandomGenerator::global()->generate());
    runOnCluster(QStringLiteral("CREATE DATABASE %1").arg(m_postgresName));
    QUrl url(postgresUrl());
    url.setPath(QLatin1Char('/') + m_postgresName);
    m_databaseUrl = url.toString();
}

void ServerFixture::dropPostgresDatabase() {
    try {
        runOnCluster(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_postgresName));
    } catch (const std::exception &) {
        // A leftover database in a throwaway cluster harms no later test.
    }
}

void ServerFixture::start() {
    // The log goes to a file: a pipe nobody reads would block a talkative server.
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("server.log")));
    m_process.setProgram(QStringLiteral(PAGSERVER_PATH));
    m_process.setArguments(
        QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--database"),
                    m_databaseUrl, QStringLiteral("--demo-size"), QString::number(m_options.demoSize),
                    QStringLiteral("--password-iterations"), QStringLiteral("1000")} +
        (m_options.demo ? QStringList{QStringLiteral("--demo")} : QStringList()) + m_options.extraArguments);
    m_process.start();
    const QDeadlineTimer deadline(120000);
    QByteArray out;
    while (!out.contains('\n')) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired() ||
            (!m_process.waitForReadyRead(int(deadline.remainingTime())) &&
             m_process.state() == QProcess::NotRunning))
            throw std::runtime_error("pagserver did not start: " + log().toStdString());
        out += m_process.readAllStandardOutput();
    }
    const QByteArray line = out.left(out.indexOf('\n')).trimmed();
    m_port = quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
    if (!line.startsWith("pagserver listening on") || m_port == 0)
        throw std::runtime_error("unexpected first line from pagserver: " + line.toStdString());
}

int ServerFixture::stop() {
    m_process.terminate();
    if (!m_process.waitForFinished(30000)) {
        m_process.kill();
        m_process.waitForFinished();
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void ServerFixture::kill() {
    m_process.kill();
    m_process.waitForFinished();
}

int ServerFixture::runCommand(const QStringList &command, const QByteArray &input, QString *output) const {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(PAGSERVER_PATH),
                  QStringList{QStringLiteral("--database"), m_databaseUrl,
                              QStringLiteral("--password-iterations"), QStringLiteral("1000")} +
                      command);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        throw std::runtime_error("pagserver command did not finish");
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString ServerFixture::log() const {
    QFile file(m_dir.filePath(QStringLiteral("server.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::unique_ptr<TNetConnection> ServerFixture::connection(const QString &serverName,
                                                          const QString &operatorCode,
                                                          const QString &password) const {
    auto net = std::make_unique<TNetConnection>();
    // The provider is process-wide: set it for this connection just before it signs in.
    QObject::connect(net.get(), &TNetConnection::BeforeConnect, [operatorCode, password] {
        TNetConnection::setCredentialsProvider([operatorCode, password] {
            return NetCredentials{operatorCode, password};
        });
    });
    net->setServerName(serverName);
    net->setHost(host());
    net->setPort(m_port);
    return net;
}
