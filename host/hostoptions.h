#pragma once

#include <QString>
#include <QStringList>

// How the host starts: the config file (an ini file) gives the defaults and the command line
// overrides them. The password is only kept for the sign-in and never printed.
struct HostOptions {
    QString serverHost = QStringLiteral("127.0.0.1");
    int serverPort = 7800;
    // TLS to the server, trusting the system's authorities or those of serverTlsCa (a PEM file).
    bool serverTls = false;
    QString serverTlsCa;
    QString databaseUrl;
    QString filiProc;
    QString packagesPath;
    QString operador;
    QString password;
    QString openCode;
    QString screenshotFile;
    bool screenshotFilter = false;
    QString previewRunCompany;
    bool help = false;
    QString helpText;
};

// Parses `arguments` (arguments[0] is the program). The config file is --config FILE, else
// paghost.ini beside the executable when it exists. Its keys: server/host, server/port, server/tls,
// server/tls-ca, database/url, session/branch, session/packages. A trusted authorities file implies TLS.
// Throws std::invalid_argument with a Portuguese message on an unknown option or a bad value.
HostOptions readHostOptions(const QStringList &arguments);

// Hands server address, port, TLS, branch and packages folder to the session.
void applyToSession(const HostOptions &options);
