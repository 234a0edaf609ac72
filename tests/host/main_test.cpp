#include "tests/support/serverfixture.h"
#include "tests/support/testcertificates.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// paghost as a process, the way a clerk or a script starts it.
class PaghostProcess : public testing::Test {
protected:
    // Runs paghost without any display (no DISPLAY, no platform chosen).
    int run(const QStringList &arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        QProcess paghost;
        paghost.setProcessEnvironment(environment);
        paghost.start(QStringLiteral(PAGHOST_PATH), arguments);
        EXPECT_TRUE(paghost.waitForFinished(60000));
        out = QString::fromUtf8(paghost.readAllStandardOutput());
        err = QString::fromUtf8(paghost.readAllStandardError());
        return paghost.exitStatus() == QProcess::NormalExit ? paghost.exitCode() : -1;
    }

    QTemporaryDir home;
    QString out;
    QString err;
};

TEST_F(PaghostProcess, HelpAndAWrongOptionAreInPortugueseWithoutADisplay) {
    EXPECT_EQ(run({QStringLiteral("--help")}), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("Uso: "))) << qPrintable(out);
    EXPECT_TRUE(out.contains(QStringLiteral("Opções:"))) << qPrintable(out);
    EXPECT_TRUE(out.contains(QStringLiteral("--screenshot <ARQUIVO>"))) << qPrintable(out);

    EXPECT_EQ(run({QStringLiteral("--nada")}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("Opção desconhecida"))) << qPrintable(err);
}

TEST_F(PaghostProcess, WithoutADisplayTheHostSaysHowToSeeTheScreen) {
    EXPECT_EQ(run({QStringLiteral("--database"), QStringLiteral("sqlite:/nada.sqlite")}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("./pag screenshot"))) << qPrintable(err);
    EXPECT_TRUE(err.contains(QStringLiteral("DISPLAY"))) << qPrintable(err);
}

TEST_F(PaghostProcess, AScreenshotFailsAndSavesNothingWhenWhatWasAskedCannotBeShown) {
    ServerFixture server;
    server.start();
    const QString picture = home.filePath(QStringLiteral("tela.png"));
    const auto screenshot = [&](const QString &database, const QString &code) {
        return run({"--server", QStringLiteral("127.0.0.1:%1").arg(server.port()), "--database", database,
                    "--operator", "admin", "--password", "admin", "--open", code, "--screenshot", picture});
    };
    const QString unprepared = QStringLiteral("sqlite:") + home.filePath(QStringLiteral("x.sqlite"));
    EXPECT_EQ(screenshot(unprepared, QStringLiteral("PAG00800")), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("ainda não foi preparado"))) << qPrintable(err);
    EXPECT_EQ(screenshot(server.databaseUrl(), QStringLiteral("XYZ00001")), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("a tela XYZ00001 não pôde ser aberta"))) << qPrintable(err);
    EXPECT_FALSE(QFile::exists(picture));

    EXPECT_EQ(screenshot(server.databaseUrl(), QStringLiteral("PAG00800")), 0) << qPrintable(err);
    EXPECT_TRUE(QFile::exists(picture)) << "drawn off screen, without a display";
}

TEST_F(PaghostProcess, OverTlsTheHostSignsInOnlyToTheServerItsAuthoritySigned) {
    const TestCertificates certificates;
    ServerFixture::Options options;
    options.extraArguments = certificates.serverArguments();
    ServerFixture server(options);
    server.start();
    const QString picture = home.filePath(QStringLiteral("tela.png"));
    const auto screenshot = [&](const QStringList &tls) {
        return run(QStringList{"--server", QStringLiteral("127.0.0.1:%1").arg(server.port()), "--database",
                               server.databaseUrl(), "--operator", "admin", "--password", "admin", "--open",
                               "PAG00800", "--screenshot", picture} +
                   tls);
    };
    EXPECT_EQ(screenshot({"--tls-ca", certificates.otherCaFile()}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("A senha não foi enviada."))) << qPrintable(err);
    EXPECT_EQ(screenshot({}), 1) << "a plain client is not served by a TLS server";
    EXPECT_FALSE(QFile::exists(picture));

    EXPECT_EQ(screenshot({"--tls-ca", certificates.caFile()}), 0) << qPrintable(err);
    EXPECT_TRUE(QFile::exists(picture));
}
