#include "serverprocess.h"
#include "appserver/db/sqlutil.h"
#include "framework/core/datapacket.h"
#include "framework/core/tdatetime.h"
#include "server_contract/recconpag.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

#include <csignal>

ServerProcess::ServerProcess(const QString &databaseUrl, const QString &logFile) {
    m_process.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/pagserver"));
    m_process.setArguments({"--demo", "--port", "0", "--database", databaseUrl, "--demo-size", "0",
                            "--password-iterations", "1000"});
    if (logFile.isEmpty())
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        m_process.setStandardErrorFile(logFile);
    m_process.start();
    const QRegularExpression listening(QStringLiteral("listening on [^:]+:(\\d+)"));
    QByteArray output;
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(200);
        output += m_process.readAllStandardOutput();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_port = quint16(match.captured(1).toUInt());
            return;
        }
    }
    m_error = logFile.isEmpty() ? QStringLiteral("pagserver did not start (its messages are above)")
                                : QStringLiteral("pagserver did not start");
}

ServerProcess::~ServerProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            killHard();
    }
}

qint64 ServerProcess::peakMemoryKiB() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid()));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression peak(QStringLiteral("VmHWM:\\s*(\\d+)"));
    return peak.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

void ServerProcess::killHard() {
    ::kill(pid_t(pid()), SIGKILL);
    m_process.waitForFinished(10000);
}

DataPacket addPostableInstalments(QSqlDatabase &db, int count) {
    const qint64 day = qint64(toDays(QDate::currentDate()));
    const QStringList branches = {"0101", "0102", "0103"};
    DataPacket payables(RecConPag::cntPagarFields());
    const int columns = int(payables.fields().size());
    const int mark = payables.fieldIndex(u"IDMARCADO"), branchColumn = payables.fieldIndex(u"CDFILIAL"),
              entryColumn = payables.fieldIndex(u"NRLANCTONF"),
              sequence = payables.fieldIndex(u"NRSEQVENPAG"),
              instalment = payables.fieldIndex(u"NRPARCELAPAG");
    db.transaction();
    QSqlQuery document = prepareSql(db, "INSERT INTO NOTAFISCAL (CDFILIAL, NRLANCTONF, NRNOTAFISC, DTEMISSAO,"
                                        " DTENTRSAID, IDSTATUS, VRNOTAFISC, CDFORNECED)"
                                        " VALUES (?, ?, ?, ?, ?, 'N', ?, '000002')");
    QSqlQuery payable =
        prepareSql(db, "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG,"
                       " CDTPCTPAGAR, DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG, VRLIQPAG,"
                       " CDFILILANC) VALUES (?, ?, '01', '01', 'SERV', ?, ?, ?, ?, ?, ?)");
    QSqlQuery adjustment =
        prepareSql(db, "INSERT INTO AJCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG,"
                       " NRSEQAJUPAG, DTAJUSTEPAG, CDAJUCTPAG, VRAJUSTEPAG)"
                       " VALUES (?, ?, '01', '01', 1, ?, '0001', 150)");
    QSqlQuery rule =
        prepareSql(db, "INSERT INTO RATEIOCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG,"
                       " NRSEQRAT, CDFILIRAT, CDCENTCUST, QTPERCRAT) VALUES (?, ?, '01', '01', ?, ?, ?, ?)");
    for (int i = 0; i < count; ++i) {
        const QString branch = branches.at(i % 3), entry = QString::number(500000 + i);
        const qint64 cents = 1000 + (i * 7919) % 5000000;
        for (const QVariant &v : QVariantList{branch, entry, entry, day, day, cents})
            document.addBindValue(v);
        execPrepared(document);
        for (const QVariant &v : QVariantList{branch, entry, day + 30, day + 30, cents, cents, cents, branch})
            payable.addBindValue(v);
        execPrepared(payable);
        if (i % 10 == 3) {
            for (const QVariant &v : QVariantList{branch, entry, day})
                adjustment.addBindValue(v);
            execPrepared(adjustment);
        }
        if (i % 10 == 7) {
            const QList<int> shares = {3334, 3333, 3333};
            for (int r = 0; r < 3; ++r) {
                for (const QVariant &v : QVariantList{branch, entry, r + 1, branches.at(r),
                                                      "000" + QString::number(r + 1), shares.at(r)})
                    rule.addBindValue(v);
                execPrepared(rule);
            }
        }
        QVariantList row(columns);
        row[mark] = "S";
        row[branchColumn] = branch;
        row[entryColumn] = entry;
        row[sequence] = "01";
        row[instalment] = "01";
        payables.appendRow(row);
    }
    db.commit();
    return payables;
}
