#include "benchdb.h"
#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "server_contract/recconpag.h"
#include "tests/appserver/recalc/serverprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUrl>

QString freshPostgres(const QString &adminUrl, const QString &tag) {
    const QString name = QStringLiteral("pagbench_%1_%2").arg(QCoreApplication::applicationPid()).arg(tag);
    {
        QSqlDatabase admin = openDatabase(adminUrl, QStringLiteral("benchadmin"));
        execSql(admin, QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        execSql(admin, QStringLiteral("CREATE DATABASE %1").arg(name));
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("benchadmin"));
    QUrl url(adminUrl);
    url.setPath(u'/' + name);
    return url.toString();
}

DataPacket seedPostable(const QString &url, int instalments) {
    DataPacket payables;
    {
        QSqlDatabase db = openDatabase(url, QStringLiteral("bench"));
        migrate(db);
        seedDemo(db, 0);
        payables = addPostableInstalments(db, instalments);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return payables;
}

RunFigures confirm(quint16 port, const DataPacket &payables) {
    TNetConnection net;
    net.setServerName(RecConPag::serverName);
    net.setPort(port);
    net.setCallTimeout(600000);
    net.setConnected(true);
    QElapsedTimer timer;
    timer.start();
    const QVariant answer = net.call(RecConPag::Method::SetConfirmar, {payables, "admin", "01"});
    RunFigures figures{timer.nsecsElapsed() / 1e9, {}};
    figures.status =
        isServerFailure(answer) ? serverFailureText(answer) : answer.toList().value(0).toString();
    return figures;
}
