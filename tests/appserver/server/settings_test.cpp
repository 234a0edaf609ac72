#include "appserver/server/serversettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ServerSettings parse(const QStringList &options) {
    return parseSettings(QStringList{QStringLiteral("pagserver")} + options);
}

} // namespace

TEST(ServerSettings, DefaultsListenOnLoopbackOnly) {
    const ServerSettings settings = parse({});
    EXPECT_EQ(settings.address, QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(settings.port, 7800);
    EXPECT_EQ(settings.maxFrameSize, Wire::defaultMaxFrameSize);
}

TEST(ServerSettings, CommandLineWinsOverTheConfigFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pagserver.ini"));
    QFile ini(file);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[server]\nlisten=0.0.0.0\nport=9100\ndatabase=sqlite:/tmp/a.sqlite\nidle-timeout=60\n");
    ini.close();

    const ServerSettings fromFile = parse({QStringLiteral("--config"), file});
    EXPECT_EQ(fromFile.address, QHostAddress(QHostAddress::AnyIPv4));
    EXPECT_EQ(fromFile.port, 9100);
    EXPECT_EQ(fromFile.databaseUrl, QStringLiteral("sqlite:/tmp/a.sqlite"));
    EXPECT_EQ(fromFile.idleTimeoutSecs, 60);

    const ServerSettings both =
        parse({QStringLiteral("--config"), file, QStringLiteral("--port"), QStringLiteral("0"),
               QStringLiteral("--database"), QStringLiteral("sqlite:/tmp/b.sqlite")});
    EXPECT_EQ(both.port, 0);
    EXPECT_EQ(both.databaseUrl, QStringLiteral("sqlite:/tmp/b.sqlite"));
    EXPECT_EQ(both.address, QHostAddress(QHostAddress::AnyIPv4));
}

TEST(ServerSettings, RefusesBadValues) {
    const QList<QStringList> bad = {
        {QStringLiteral("--port"), QStringLiteral("70000")},
        {QStringLiteral("--port"), QStringLiteral("sete")},
        {QStringLiteral("--listen"), QStringLiteral("não.é.endereço")},
        {QStringLiteral("--max-frame-size"), QStringLiteral("10")},
        {QStringLiteral("--db-sessions"), QStringLiteral("0")},
        {QStringLiteral("--db-wait"), QStringLiteral("0")},
        {QStringLiteral("--frobnicate")},
        {QStringLiteral("solto")},
    };
    for (const QStringList &options : bad)
        EXPECT_THROW(parse(options), SettingsError) << qPrintable(options.join(QLatin1Char(' ')));
}
