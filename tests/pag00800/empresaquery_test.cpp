#include "pag00800/empresaquery.h"

#include "framework/session/adoibquery.h"

#include <gtest/gtest.h>

namespace {

QStringList codes(TADOIBQuery &query) {
    QStringList values;
    for (query.first(); !query.eof(); query.next())
        values << query.FieldByName(QStringLiteral("CDEMPRESA"))->asString();
    return values;
}

} // namespace

TEST(EmpresaQuery, OneCompanyOrAllOfThemOnTheSessionDatabase) {
    TADOIBQuery query;
    prepareEmpresaQuery(&query);
    query.ParamByName(QStringLiteral("P_CDEMPRESA"))->setAsString(QStringLiteral("02"));
    query.Open();
    EXPECT_EQ(codes(query), QStringList{QStringLiteral("02")});
    EXPECT_EQ(query.FieldByName(QStringLiteral("NMEMPRESA"))->asString(),
              QStringLiteral("Indústria Jacarandá S.A."));
    EXPECT_FALSE(query.FieldByName(QStringLiteral("CDCENTCUST"))->def().visible);

    query.ParamByName(QStringLiteral("P_CDEMPRESA"))->Clear();
    query.Open();
    EXPECT_EQ(codes(query), (QStringList{"01", "02", "03"}));

    query.ParamByName(QStringLiteral("P_CDEMPRESA"))->setAsString(QStringLiteral("99"));
    query.Open();
    EXPECT_TRUE(query.IsEmpty());
}
