#include "framework/net/checkresult.h"
#include "tests/support/serverfixture.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QString recModule = QStringLiteral("PAG00800.rdmRecConPag");

ServerFixture::Options production() {
    ServerFixture::Options options;
    options.demo = false;
    return options;
}

// Rows of each table that demo data or operators would fill, read straight from the SQLite file.
int rowsOf(const ServerFixture &server, const QString &table) {
    const QString name = QStringLiteral("operatorcommand-count");
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(server.databaseUrl().mid(7));
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table), db);
            if (query.next())
                rows = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// The adjustments of one instalment of a branch: a call that only operators of its company may make.
QList<NetArg> adjustmentsOf(const QString &branch) {
    return {branch, QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("01")};
}

bool signsIn(const ServerFixture &server, const QString &code, const QString &password) {
    const auto net = server.connection(recModule, code, password);
    try {
        net->setConnected(true);
        return true;
    } catch (const NetError &) {
        return false;
    }
}

} // namespace

TEST(OperatorCommand, APlainStartCreatesTheSchemaOnlyAndTheFirstOperatorCanSignIn) {
    ServerFixture server(production());
    server.start();
    for (const QString table : {"EMPRESA", "FILIAL", "CONTAPAGAR", "OPERADOR", "OPEREMPRESA"})
        EXPECT_EQ(rowsOf(server, table), 0) << qPrintable(table);
    EXPECT_FALSE(signsIn(server, QStringLiteral("admin"), QStringLiteral("admin")));

    QString output;
    EXPECT_EQ(
        server.runCommand({"operator", "add", "gerente", "Gerente financeiro"}, "S3nha longa\n", &output), 0)
        << qPrintable(output);
    EXPECT_FALSE(output.contains(QLatin1StringView("S3nha"))) << "the password is never echoed";
    EXPECT_TRUE(signsIn(server, QStringLiteral("gerente"), QStringLiteral("S3nha longa")));
    EXPECT_FALSE(signsIn(server, QStringLiteral("gerente"), QStringLiteral("S3nha")));
    EXPECT_EQ(server.stop(), 0);
}

TEST(OperatorCommand, AGrantedOperatorUsesTheGrantedCompanyOnly) {
    ServerFixture server;
    server.start();
    ASSERT_EQ(server.runCommand({"operator", "add", "contador"}, "primeira\n"), 0);
    ASSERT_EQ(server.runCommand({"operator", "grant", "contador", "02"}, {}), 0);
    const auto net = server.connection(recModule, QStringLiteral("contador"), QStringLiteral("primeira"));
    const QVariant own = net->call("GetAjusPag", adjustmentsOf(QStringLiteral("0201")));
    EXPECT_FALSE(isServerFailure(own)) << qPrintable(serverFailureText(own));
    EXPECT_TRUE(isServerFailure(net->call("GetAjusPag", adjustmentsOf(QStringLiteral("0101")))));

    ASSERT_EQ(server.runCommand({"operator", "password", "contador"}, "segunda\n"), 0);
    EXPECT_FALSE(signsIn(server, QStringLiteral("contador"), QStringLiteral("primeira")));
    EXPECT_TRUE(signsIn(server, QStringLiteral("contador"), QStringLiteral("segunda")));
}

TEST(OperatorCommand, RefusesWhatWouldLeaveAnUnusableOrWrongOperator) {
    ServerFixture server;
    server.start();
    QString output;
    EXPECT_EQ(server.runCommand({"operator", "add", "semsenha"}, "\n", &output), 2) << qPrintable(output);
    EXPECT_EQ(server.runCommand({"operator", "add", "codigo-longo-demais"}, "x\n"), 2);
    EXPECT_EQ(server.runCommand({"operator", "remove", "admin"}, {}), 2);
    EXPECT_EQ(server.runCommand({"operator", "add", "admin"}, "outra\n", &output), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("já cadastrado"))) << qPrintable(output);
    EXPECT_EQ(server.runCommand({"operator", "password", "ninguem"}, "x\n"), 1);
    EXPECT_EQ(server.runCommand({"operator", "grant", "caixa", "02", "99"}, {}, &output), 1);
    EXPECT_TRUE(output.contains(QLatin1StringView("99"))) << qPrintable(output);

    EXPECT_TRUE(signsIn(server, QStringLiteral("admin"), QStringLiteral("admin")));
    EXPECT_FALSE(signsIn(server, QStringLiteral("semsenha"), QString()));
    const auto cashier = server.connection(recModule, QStringLiteral("caixa"), QStringLiteral("caixa"));
    EXPECT_TRUE(isServerFailure(cashier->call("GetAjusPag", adjustmentsOf(QStringLiteral("0201")))))
        << "a grant that names an unknown company grants none";
}
