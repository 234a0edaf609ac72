#pragma once

#include "framework/net/password.h"
#include "framework/net/wire.h"

#include <QHostAddress>
#include <QSslConfiguration>
#include <QStringList>

#include <optional>
#include <stdexcept>

// How the server runs: where it listens, which database it serves, and its limits.
struct ServerSettings {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 7800;
    QString databaseUrl = QStringLiteral("sqlite:data/demo.sqlite");
    bool demo = false;
    int demoSize = 3000;
    qint64 maxFrameSize = Wire::defaultMaxFrameSize;
    int idleTimeoutSecs = 1800;
    int frameTimeoutSecs = 30;
    int maxConnections = 200;
    // Database sessions the calls of all connections share, and how long a call waits for one.
    int dbSessions = 8;
    int dbWaitSecs = 60;
    // Connections that have not signed in yet, held apart from the signed-in ones, and how long each
    // may take to say hello.
    int maxPending = 32;
    int maxPendingPerAddress = 8;
    int helloTimeoutSecs = 10;
    // Wrong passwords from one address delay its next sign-in: the first delay, doubled per further
    // failure up to the longest; the address is forgotten after a quiet spell.
    int signInDelayMs = 1000;
    int signInMaxDelayMs = 30000;
    int signInForgetSecs = 900;
    int passwordIterations = recommendedPasswordIterations;
    // Rows a payable fetch may answer; one that finds more fails and asks the user to narrow the filter.
    int maxFetchRows = 200000;
    // With --tls-cert and --tls-key: every connection speaks TLS with this certificate and key.
    std::optional<QSslConfiguration> tls;
    // Words after the options: an administration command to run instead of serving (empty to serve).
    QStringList command;
};

class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const QString &message)
        : std::runtime_error(message.toStdString()) {}
};

// Reads the command line and the optional --config file (an ini file whose [server] keys have the
// options' names); the command line wins over the file. --demo is a command-line flag only. The TLS
// certificate and key are read here, so that a server that cannot use them does not start.
ServerSettings parseSettings(const QStringList &arguments);
