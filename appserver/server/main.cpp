#include "appserver/db/database.h"
#include "appserver/modules/modules.h"
#include "appserver/server/calllog.h"
#include "appserver/server/listener.h"
#include "appserver/server/operatorcommand.h"
#include "appserver/server/serverlog.h"
#include "appserver/server/shutdownsignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

// An SQLite file is created on first start: make sure its folder exists.
void makeSqliteFolder(const QString &url) {
    if (url.startsWith(QLatin1StringView("sqlite:")))
        QDir().mkpath(QFileInfo(url.mid(7)).absolutePath());
}

// Brings the schema up to date and, with --demo, fills an empty database with demo data, once, before
// serving; with a command, runs it instead and returns its exit status.
int prepareDatabase(const ServerSettings &settings) {
    const QString name = QStringLiteral("pagserver-setup");
    int status = 0;
    {
        QSqlDatabase db = openDatabase(settings.databaseUrl, name);
        migrate(db);
        if (!settings.command.isEmpty()) {
            QTextStream input(stdin);
            QTextStream output(stdout);
            status = runOperatorCommand(db, settings.command, input, output);
        } else if (settings.demo) {
            seedDemo(db, settings.demoSize);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return status;
}

} // namespace

int main(int argc, char *argv[]) {
    // Qt's own event loop on every thread: the server uses nothing of GLib's, whose loop costs each
    // wake-up of a connection more.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pagserver"));
    installServerLog();
    ServerSettings settings;
    try {
        settings = parseSettings(app.arguments());
        setPasswordIterations(settings.passwordIterations);
        makeSqliteFolder(settings.databaseUrl);
        const int status = prepareDatabase(settings);
        if (!settings.command.isEmpty())
            return status;
    } catch (const std::exception &e) {
        qCCritical(lcServer).noquote() << QString::fromUtf8(e.what());
        return 1;
    }

    ModuleRegistry modules;
    registerModules(modules, settings.maxFetchRows);
    ServerBackend backend;
    backend.openDatabase = [url = settings.databaseUrl](const QString &name) {
        return openDatabase(url, name);
    };
    backend.passwordHash = operatorPasswordHash;
    backend.replacePasswordHash = replaceOperatorPasswordHash;
    backend.modules = &modules;

    Listener listener(settings, backend);
    if (!listener.start()) {
        qCCritical(lcServer).noquote() << QStringLiteral("cannot listen on %1:%2: %3")
                                              .arg(settings.address.toString())
                                              .arg(settings.port)
                                              .arg(listener.errorString());
        return 1;
    }
    std::printf("pagserver listening on %s:%u\n", qPrintable(listener.serverAddress().toString()),
                unsigned(listener.serverPort()));
    std::fflush(stdout);

    ShutdownSignals shutdownSignals;
    QObject::connect(&shutdownSignals, &ShutdownSignals::received, &app, [](int signalNumber) {
        qCInfo(lcServer).noquote() << QStringLiteral("signal %1: shutting down").arg(signalNumber);
        QCoreApplication::quit();
    });
    const int status = app.exec();
    listener.shutDown();
    CallLog::flush();
    qCInfo(lcServer).noquote() << QStringLiteral("stopped");
    return status;
}
