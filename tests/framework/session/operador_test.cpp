#include "framework/session/operador.h"
#include "tests/framework/session/testdatabase.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

class OperatorTest : public testing::Test {
protected:
    TestDatabase database;
};

TEST_F(OperatorTest, PasswordMustMatchAnActiveOperator) {
    EXPECT_TRUE(checkOperatorPassword(QStringLiteral("admin"), QStringLiteral("admin")));
    EXPECT_TRUE(checkOperatorPassword(QStringLiteral("caixa"), QStringLiteral("caixa")));
    EXPECT_FALSE(checkOperatorPassword(QStringLiteral("admin"), QStringLiteral("caixa")));
    EXPECT_FALSE(checkOperatorPassword(QStringLiteral("admin"), QString()));
    EXPECT_FALSE(checkOperatorPassword(QStringLiteral("ninguem"), QStringLiteral("admin")));
    EXPECT_FALSE(checkOperatorPassword(QStringLiteral("admin' OR '1'='1"), QStringLiteral("x")));

    ASSERT_TRUE(QSqlQuery(database.side())
                    .exec(QStringLiteral("UPDATE OPERADOR SET IDATIVO = 'N' WHERE CDOPERADOR = 'caixa'")));
    EXPECT_FALSE(checkOperatorPassword(QStringLiteral("caixa"), QStringLiteral("caixa")));
}

TEST_F(OperatorTest, CompanyAccessFollowsTheOperatorsCompanies) {
    EXPECT_TRUE(AcessoOperEmpresa(QStringLiteral("admin"), QStringLiteral("02")));
    EXPECT_TRUE(AcessoOperEmpresa(QStringLiteral("caixa"), QStringLiteral("01")));
    EXPECT_FALSE(AcessoOperEmpresa(QStringLiteral("caixa"), QStringLiteral("02")));
    EXPECT_FALSE(AcessoOperEmpresa(QStringLiteral("caixa"), QStringLiteral("99")));
    EXPECT_FALSE(AcessoOperEmpresa(QStringLiteral("ninguem"), QStringLiteral("01")));

    ASSERT_TRUE(QSqlQuery(database.side())
                    .exec(QStringLiteral("UPDATE OPERADOR SET IDATIVO = 'N' WHERE CDOPERADOR = 'caixa'")));
    EXPECT_FALSE(AcessoOperEmpresa(QStringLiteral("caixa"), QStringLiteral("01")))
        << "an inactive operator has no companies";
}

TEST(OperatorWithoutDatabase, FailsClearly) {
    EXPECT_THROW(AcessoOperEmpresa(QStringLiteral("admin"), QStringLiteral("01")), std::runtime_error);
}
