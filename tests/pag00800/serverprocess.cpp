#include "serverprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

ServerProcess::ServerProcess() = default;

ServerProcess::~ServerProcess() {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000))
        process.kill();
    process.waitForFinished();
}

QString ServerProcess::databaseUrl() const {
    return QStringLiteral("sqlite:") + dataDir.filePath(QStringLiteral("demo.sqlite"));
}

// Starts the server and reads the port from its "listening on" line.
bool ServerProcess::start() {
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("pagserver"));
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--database"),
                            databaseUrl(), QStringLiteral("--demo-size"), QStringLiteral("300")});
    if (!process.waitForStarted()) {
        failureText = process.errorString();
        return false;
    }
    static const QRegularExpression listening(QStringLiteral("listening on \\S+:(\\d+)"));
    QByteArray output;
    while (process.waitForReadyRead(120000)) {
        output += process.readAllStandardOutput();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            listeningPort = match.captured(1).toInt();
            return true;
        }
    }
    failureText = QString::fromUtf8(output + process.readAllStandardError());
    return false;
}
