#include "framework/core/tdatetime.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"
#include "serverprocess.h"

#include <QSqlQuery>

// The demo data through the real server: its held document, its account type without expense account
// and its ordinary instalments each give their status.
class RecalcDemo : public RecalcFixture {
protected:
    int demoInstalments() const override { return 600; }

    // Up to three instalments of company 01 that match `where`, entered in the open period unless
    // `anyDate`.
    QList<Key> keys(const QString &where, bool anyDate = false) {
        QSqlQuery query(test->db());
        query.prepare(
            "SELECT C.CDFILIAL, C.NRLANCTONF, C.NRSEQVENPAG, C.NRPARCELAPAG FROM CONTAPAGAR C"
            " JOIN NOTAFISCAL N ON N.CDFILIAL = C.CDFILIAL AND N.NRLANCTONF = C.NRLANCTONF"
            " JOIN PERCONTABIL P ON P.CDEMPRESA = '01' AND P.IDSITUPER = 'A'"
            " WHERE C.CDFILIAL LIKE '01%' AND (? OR N.DTENTRSAID BETWEEN P.DTINICCTBL AND P.DTFINACCTBL)"
            " AND NOT EXISTS (SELECT 1 FROM AJCTPAGAR A WHERE A.CDFILIAL = C.CDFILIAL"
            " AND A.NRLANCTONF = C.NRLANCTONF AND A.DTAJUSTEPAG > P.DTFINACCTBL) AND " +
            where + " ORDER BY 1, 2, 3, 4 LIMIT 3");
        query.addBindValue(anyDate);
        query.exec();
        QList<Key> found;
        while (query.next())
            found << Key{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                         query.value(3).toString()};
        return found;
    }

    QString status(quint16 port, const QList<Key> &marked) {
        TNetConnection::setCredentialsProvider([] { return NetCredentials{"admin", "admin"}; });
        TNetConnection net;
        net.setServerName(RecConPag::serverName);
        net.setPort(port);
        const QVariant answer = net.call(RecConPag::Method::SetConfirmar, {packet(marked), "admin", "01"});
        return isServerFailure(answer) ? serverFailureText(answer) : answer.toList().value(0).toString();
    }
};

TEST_P(RecalcDemo, EachStatusForItsReason) {
    const QList<Key> ordinary =
        keys("C.CDTPCTPAGAR <> 'DIVER' AND NOT (C.CDFILIAL = '0101' AND C.NRLANCTONF = '1')");
    const QList<Key> held = keys("C.CDFILIAL = '0101' AND C.NRLANCTONF = '1'", true);
    const QList<Key> withoutAccount = keys("C.CDTPCTPAGAR = 'DIVER'");
    ASSERT_FALSE(ordinary.isEmpty());
    ASSERT_FALSE(held.isEmpty());
    ASSERT_FALSE(withoutAccount.isEmpty());
    ServerProcess server(test->url());
    ASSERT_TRUE(server.started()) << server.errorText().toStdString();

    EXPECT_EQ(status(server.port(), ordinary + held), RecConPag::StatusAltBloq);
    EXPECT_EQ(status(server.port(), ordinary + withoutAccount), RecConPag::StatusErroContabilizacao);
    EXPECT_EQ(status(server.port(), ordinary), RecConPag::StatusOk);
    EXPECT_EQ(status(server.port(), ordinary), RecConPag::StatusOk);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcDemo, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
