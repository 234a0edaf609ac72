#include "pag00801/listqueries.h"

#include "framework/session/adoibquery.h"
#include "framework/session/dbgeral.h"
#include "tests/support/serverfixture.h"

#include <gtest/gtest.h>

namespace {

QStringList column(TADOIBQuery &query, const char *field) {
    QStringList values;
    for (query.first(); !query.eof(); query.next())
        values << query.FieldByName(QString::fromLatin1(field))->asString();
    return values;
}

// The three lists on the session's database: their fields as the picker shows them, and codes in
// byte order whatever the database's collation.
void checkLists() {
    TADOIBQuery suppliers;
    prepareFornecedorQuery(&suppliers);
    suppliers.Open();
    const QStringList supplierCodes = column(suppliers, "CDFORNECED");
    EXPECT_GE(supplierCodes.size(), 300);
    QStringList sorted = supplierCodes;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString &a, const QString &b) { return a.toUtf8() < b.toUtf8(); });
    EXPECT_EQ(supplierCodes, sorted);
    QStringList shown;
    for (const FieldDef &def : suppliers.fieldDefs())
        if (def.visible)
            shown << def.displayLabel;
    EXPECT_EQ(shown, QStringList({"Inscrição Jurídica", "Nome Fantasia", "Razão Social"}));
    EXPECT_TRUE(suppliers.FieldByName(QStringLiteral("CDFORNECED"))->def().required);

    TADOIBQuery branches;
    prepareFilialQuery(&branches);
    branches.Open();
    const QStringList branchCodes = column(branches, "CDFILIAL");
    EXPECT_EQ(branchCodes.mid(0, 6), QStringList({"0101", "0102", "0103", "0201", "0202", "0301"}));
    EXPECT_EQ(branches.FieldByName(QStringLiteral("NMFILIAL"))->def().displayLabel, QStringLiteral("Nome"));

    TADOIBQuery types;
    prepareTipoCtPagarQuery(&types);
    types.Open();
    QStringList typeCodes = column(types, "CDTPCTPAGAR");
    typeCodes.sort();
    EXPECT_EQ(typeCodes, QStringList({"ALUG", "DIVER", "ENERG", "MAT", "SERV", "TELEF"}));
    EXPECT_EQ(types.FieldByName(QStringLiteral("DSTPCTPAGAR"))->def().displayLabel,
              QStringLiteral("Descrição"));
}

} // namespace

TEST(ListQueries, ReadTheirTablesOnSqlite) {
    checkLists();
}

TEST(ListQueries, ReadTheirTablesOnPostgres) {
    if (!ServerFixture::postgresAvailable())
        GTEST_SKIP() << "PAG_TEST_PG_URL not set";
    ServerFixture::Options options;
    options.usePostgres = true;
    ServerFixture postgres(options);
    ASSERT_NO_THROW(postgres.start());
    const QString sqlite = dtmDBGeral()->displayUrl();
    dtmDBGeral()->open(postgres.databaseUrl());
    checkLists();
    dtmDBGeral()->open(sqlite);
}
