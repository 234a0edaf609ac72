#include "appserver/db/sqlutil.h"
#include "framework/core/money.h"
#include "modulesfixture.h"
#include "server_contract/recconpag.h"

using namespace RecConPag;

// The postings that a run stored, read back by company and number.
class LancContabilTest : public ModulesFixture {
protected:
    // Recalculates instalment 0102/7-01/01 (rent of 300,00 with an addition of 10,00) and returns the
    // numbers of its own posting and of its adjustment's.
    std::pair<QString, QString> postInstalment() {
        DataPacket payables(cntPagarFields());
        QVariantList row(payables.fields().size());
        const QVariantMap values{{"IDMARCADO", "S"},    {"CDFILIAL", "0102"},   {"NRLANCTONF", "7"},
                                 {"NRSEQVENPAG", "01"}, {"NRPARCELAPAG", "01"}, {"CDEMPRESA", "01"}};
        for (auto it = values.begin(); it != values.end(); ++it)
            row[payables.fieldIndex(it.key())] = it.value();
        payables.appendRow(row);
        CallArgs args({QVariant::fromValue(payables), "admin", "01"}, {false, false, false});
        const QVariantList answer = call(recModule, "SetConfirmar", args).toList();
        EXPECT_EQ(answer.value(ResultStatus).toString(), StatusOk);
        const QString where = " WHERE CDFILIAL = '0102' AND NRLANCTONF = '7' AND NRSEQVENPAG = '01'"
                              " AND NRPARCELAPAG = '01'";
        return {selectValue(test->db(), "SELECT NRLANCTBDOC FROM CONTAPAGAR" + where).toString(),
                selectValue(test->db(), "SELECT NRLCTBAJPAG FROM AJCTPAGAR" + where).toString()};
    }

    QVariantList stored(const QString &company, const QString &number,
                        const QString &operatorCode = "admin") {
        CallArgs args({company, number}, {false, false});
        return call(recModule, "GetLancContabil", args, operatorCode).toList();
    }

    static QVariant at(const DataPacket &packet, int row, const char *field) {
        return packet.value(row, packet.fieldIndex(QLatin1String(field)));
    }
};

TEST_P(LancContabilTest, AnswersTheLinesAndSplitsOfOnePostingSignedLikeTheRun) {
    const auto [own, adjustment] = postInstalment();
    ASSERT_FALSE(own.isEmpty());
    ASSERT_NE(own, adjustment);

    const QVariantList answer = stored("01", own);
    ASSERT_EQ(answer.size(), LancContabilResultCount);
    const DataPacket lines = answer.at(LancContabilLinhas).value<DataPacket>();
    const DataPacket splits = answer.at(LancContabilRateio).value<DataPacket>();
    EXPECT_EQ(lines.fields(), lancContTempFields());
    EXPECT_EQ(splits.fields(), rateioFields());

    ASSERT_EQ(lines.rowCount(), 2);
    EXPECT_EQ(at(lines, 0, "NRLANCCTBTEMP").toString(), own);
    EXPECT_EQ(at(lines, 0, "NRSEQCTBTEMP").toString(), "1");
    EXPECT_EQ(at(lines, 0, "CDCONTCTBL").toString(), "3.1.1.03");
    EXPECT_FALSE(at(lines, 0, "NMCONTCTBL").toString().isEmpty());
    EXPECT_DOUBLE_EQ(at(lines, 0, "VRLANCCTBTEMP").toDouble(), 300.0);
    EXPECT_DOUBLE_EQ(at(lines, 1, "VRLANCCTBTEMP").toDouble(), -300.0);
    EXPECT_DOUBLE_EQ(at(lines, 0, "DTLANCCTBTEMP").toDouble(), double(day(-9)));
    EXPECT_EQ(at(lines, 0, "IDLANCCTBCOME").toString(), "P");
    EXPECT_FALSE(at(lines, 0, "NMEMPRESA").toString().isEmpty());

    // Every line is split whole over its branches and cost centres, with their names.
    ASSERT_GE(splits.rowCount(), 2);
    qint64 perLine[2] = {0, 0};
    for (int row = 0; row < splits.rowCount(); ++row) {
        EXPECT_EQ(at(splits, row, "NRLANCCTBTEMP").toString(), own);
        EXPECT_FALSE(at(splits, row, "NMFILIAL").toString().isEmpty());
        EXPECT_FALSE(at(splits, row, "NMCENTCUST").toString().isEmpty());
        perLine[at(splits, row, "NRSEQCTBTEMP").toInt() - 1] +=
            toCents(at(splits, row, "VRLANCCUST").toDouble());
    }
    EXPECT_EQ(perLine[0], 30000);
    EXPECT_EQ(perLine[1], -30000);

    const DataPacket addition = stored("01", adjustment).at(LancContabilLinhas).value<DataPacket>();
    ASSERT_EQ(addition.rowCount(), 2);
    EXPECT_EQ(at(addition, 0, "IDLANCCTBCOME").toString(), "A");
    EXPECT_DOUBLE_EQ(at(addition, 0, "VRLANCCTBTEMP").toDouble(), 10.0);
}

TEST_P(LancContabilTest, OnlyTheCompanysOwnPostingsAndOnlyForItsOperators) {
    const QString own = postInstalment().first;
    // The same number asked for under another company finds nothing of company 01.
    for (const QVariant &packet : stored("02", own))
        EXPECT_EQ(packet.value<DataPacket>().rowCount(), 0);
    for (const QVariant &packet : stored("01", "999999999999"))
        EXPECT_EQ(packet.value<DataPacket>().rowCount(), 0);

    EXPECT_EQ(stored("01", own, "caixa").at(LancContabilLinhas).value<DataPacket>().rowCount(), 2);
    EXPECT_THROW(stored("02", own, "caixa"), ServerFailure);
    EXPECT_THROW(stored("", own, "caixa"), ServerFailure);

    CallArgs oneArgument({"01"}, {false});
    EXPECT_THROW(call(recModule, "GetLancContabil", oneArgument), BadCall);
    CallArgs notText({"01", 12}, {false, false});
    EXPECT_THROW(call(recModule, "GetLancContabil", notText), BadCall);
}

INSTANTIATE_TEST_SUITE_P(Databases, LancContabilTest, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
