#include "framework/session/norvela.h"
#include "host/hostoptions.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

HostOptions read(const QStringList &arguments) {
    return readHostOptions(QStringList{QStringLiteral("paghost")} + arguments);
}

} // namespace

TEST(HostOptions, CommandLineWinsOverTheConfigFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("paghost.ini"));
    {
        QSettings ini(file, QSettings::IniFormat);
        ini.setValue(QStringLiteral("server/host"), QStringLiteral("srv.local"));
        ini.setValue(QStringLiteral("server/port"), 9000);
        ini.setValue(QStringLiteral("database/url"), QStringLiteral("sqlite:/dados/pag.sqlite"));
        ini.setValue(QStringLiteral("session/branch"), QStringLiteral("0101"));
    }

    const HostOptions fromFile = read({QStringLiteral("--config"), file});
    EXPECT_EQ(fromFile.serverHost, QStringLiteral("srv.local"));
    EXPECT_EQ(fromFile.serverPort, 9000);
    EXPECT_EQ(fromFile.databaseUrl, QStringLiteral("sqlite:/dados/pag.sqlite"));
    EXPECT_EQ(fromFile.filiProc, QStringLiteral("0101"));

    const HostOptions overridden = read({"--config", file, "--server", "127.0.0.1:7801", "--database",
                                         "postgresql://u@h/db", "--branch", "0202", "--open", "PAG00800"});
    EXPECT_EQ(overridden.serverHost, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(overridden.serverPort, 7801);
    EXPECT_EQ(overridden.databaseUrl, QStringLiteral("postgresql://u@h/db"));
    EXPECT_EQ(overridden.filiProc, QStringLiteral("0202"));
    EXPECT_EQ(overridden.openCode, QStringLiteral("PAG00800"));

    applyToSession(overridden);
    EXPECT_EQ(Norvela::WebURL(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(Norvela::WebPort(), 7801);
    EXPECT_EQ(Norvela::FiliProc(), QStringLiteral("0202"));
}

TEST(HostOptions, ServerAddressForms) {
    EXPECT_EQ(read({"--server", "localhost"}).serverPort, 7800) << "a host alone keeps the default port";
    const HostOptions v6 = read({"--server", "[::1]:7900"});
    EXPECT_EQ(v6.serverHost, QStringLiteral("::1"));
    EXPECT_EQ(v6.serverPort, 7900);
}

TEST(HostOptions, RefusesBadInput) {
    EXPECT_THROW(read({"--server", "host:99999"}), std::invalid_argument);
    EXPECT_THROW(read({"--server", ":7800"}), std::invalid_argument);
    EXPECT_THROW(read({"--server", "host:abc"}), std::invalid_argument);
    EXPECT_THROW(read({"--nonsense"}), std::invalid_argument);
    EXPECT_THROW(read({"extra"}), std::invalid_argument);
    EXPECT_THROW(read({"--config", "/no/such/file.ini"}), std::invalid_argument);
}

TEST(HostOptions, TlsFromTheConfigFileOrTheCommandLine) {
    QTemporaryDir dir;
    const QString authorities = dir.filePath(QStringLiteral("ac.pem"));
    QFile(authorities).open(QIODevice::WriteOnly);
    const QString file = dir.filePath(QStringLiteral("paghost.ini"));
    {
        QSettings ini(file, QSettings::IniFormat);
        ini.setValue(QStringLiteral("server/tls-ca"), authorities);
    }
    const HostOptions fromFile = read({QStringLiteral("--config"), file});
    EXPECT_TRUE(fromFile.serverTls) << "an authorities file implies TLS";
    EXPECT_EQ(fromFile.serverTlsCa, authorities);
    EXPECT_FALSE(read({}).serverTls);
    const HostOptions systemStore = read({QStringLiteral("--tls")});
    EXPECT_TRUE(systemStore.serverTls);
    EXPECT_TRUE(systemStore.serverTlsCa.isEmpty());
    EXPECT_THROW(read({"--tls-ca", dir.filePath(QStringLiteral("nada.pem"))}), std::invalid_argument);
}
