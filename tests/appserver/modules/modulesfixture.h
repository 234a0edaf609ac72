#pragma once

#include "../db/testdatabase.h"
#include "appserver/server/module.h"
#include "framework/core/datapacket.h"

#include <gtest/gtest.h>

// A migrated database with the demo organisation (companies, branches, suppliers, types, operators)
// and four documents of known content around today, and the two modules to call.
class ModulesFixture : public testing::TestWithParam<DbKind> {
protected:
    void SetUp() override;

    // Calls a method as operator `operatorCode`; `args` may be changed by write-back.
    QVariant call(const QString &module, const QString &method, CallArgs &args,
                  const QString &operatorCode = QStringLiteral("admin"));
    DataPacket callPacket(const QString &module, const QString &method, const QVariantList &values,
                          const QString &operatorCode = QStringLiteral("admin"));

    // The 26 arguments of an unrestricted fetch of company 01.
    static QVariantList cntPagarArgs();
    static CallArgs cntPagarCall(const QVariantList &values);
    // Keys "branch/entry/sequence/instalment" of the rows fetched with these arguments, in order.
    QStringList fetchKeys(const QVariantList &values, const QString &operatorCode = QStringLiteral("admin"));

    static qint64 day(int offset); // today + offset as a day count

    std::unique_ptr<TestDatabase> test;
    ModuleRegistry registry;
    std::map<QString, std::unique_ptr<RemoteModule>> modules;

private:
    void addDocuments();
};

inline const QString recModule = QStringLiteral("PAG00800.rdmRecConPag");
inline const QString filterModule = QStringLiteral("PAG00801.rdmFiltroRecContPagar");
