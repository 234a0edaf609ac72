#include "framework/net/netconnection.h"
#include "tests/support/serverfixture.h"
#include "tests/support/testcertificates.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString filterModule = QStringLiteral("PAG00801.rdmFiltroRecContPagar");

class ClientTls : public testing::Test {
protected:
    static void SetUpTestSuite() {
        certificates = new TestCertificates;
        ServerFixture::Options options;
        options.demoSize = 5;
        options.extraArguments = certificates->serverArguments();
        server = new ServerFixture(options);
        server->start();
    }
    static void TearDownTestSuite() {
        delete server;
        delete certificates;
    }

    // What a client connecting to `host` with `tls` is told; empty when it signed in.
    static QString refusal(const NetTls &tls, const QString &host = server->host()) {
        const auto net = server->connection(filterModule);
        net->setTls(tls);
        net->setHost(host);
        try {
            net->setConnected(true);
        } catch (const NetError &e) {
            return e.message();
        }
        return {};
    }

    // Handshakes the server saw fail; the server logs one after the client has given up.
    static qsizetype failedHandshakes(qsizetype atLeast) {
        const QLatin1StringView line("closing: TLS handshake failed");
        const QDeadlineTimer deadline(10000);
        while (server->log().count(line) < atLeast && !deadline.hasExpired())
            QThread::msleep(20);
        return server->log().count(line);
    }

    static inline TestCertificates *certificates = nullptr;
    static inline ServerFixture *server = nullptr;
};

} // namespace

TEST_F(ClientTls, SignsInWhenTheServerIsWhoItsAuthoritySays) {
    EXPECT_EQ(refusal(certificates->clientTls()), QString());
}

// The server signs in nobody but the one client that verified it: no other hello ever reached it.
TEST_F(ClientTls, RefusesAServerItDoesNotTrustOrOfAnotherNameAndKeepsThePassword) {
    const qsizetype before = server->log().count(QLatin1StringView("closing: TLS handshake failed"));
    const QString otherAuthority = refusal({true, certificates->otherCaFile()});
    EXPECT_TRUE(otherAuthority.contains(QString::fromUtf8("não foi emitido por uma autoridade")))
        << qPrintable(otherAuthority);
    const QString systemStore = refusal({true, QString()});
    EXPECT_TRUE(systemStore.contains(QString::fromUtf8("não foi emitido por uma autoridade")))
        << qPrintable(systemStore);
    const QString otherName = refusal(certificates->clientTls(), QStringLiteral("localhost"));
    EXPECT_TRUE(otherName.contains(QString::fromUtf8("não é para o nome \"localhost\"")))
        << qPrintable(otherName);
    for (const QString &message : {otherAuthority, systemStore, otherName})
        EXPECT_TRUE(message.contains(QString::fromUtf8("A senha não foi enviada."))) << qPrintable(message);

    EXPECT_EQ(failedHandshakes(before + 3), before + 3) << qPrintable(server->log());
    EXPECT_FALSE(server->log().contains(QLatin1StringView("sign-in refused"))) << qPrintable(server->log());
}

TEST_F(ClientTls, AnAuthoritiesFileItCannotUseIsReportedBeforeConnecting) {
    const QString missing = refusal({true, certificates->path("missing.pem")});
    EXPECT_TRUE(missing.contains(QString::fromUtf8("não pôde ser lido"))) << qPrintable(missing);
    const QString notCertificates = refusal({true, certificates->serverKeyFile()});
    EXPECT_TRUE(notCertificates.contains(QString::fromUtf8("não contém certificados")))
        << qPrintable(notCertificates);
}
