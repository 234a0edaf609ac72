#pragma once

#include "../db/testdatabase.h"
#include "appserver/recalc/recalc.h"

#include <gtest/gtest.h>

// Company 01 of the demo organisation (no documents) on a fresh database, with helpers that write
// documents, instalments, adjustments, apportionment rules and holds of known content.
class RecalcFixture : public testing::TestWithParam<DbKind> {
protected:
    void SetUp() override;
    // Instalments of demo data to seed besides the organisation.
    virtual int demoInstalments() const { return 0; }

    struct Key {
        QString branch, entry, sequence = QStringLiteral("01"), instalment = QStringLiteral("01");
    };

    static qint64 today();
    // A document of supplier 000001 (account 2.1.1.01) entered `entryDay` with one instalment.
    Key addInstalment(const QString &branch, const QString &entry, qint64 cents, const QString &type = "MAT",
                      qint64 entryDay = today());
    void addAdjustment(const Key &key, int sequence, const QString &type, qint64 cents, qint64 day = today());
    void addRule(const Key &key, int sequence, const QString &branch, const QString &costCentre, int share);
    void addHold(const Key &key, const QString &operatorCode, qint64 fromSecs, qint64 untilSecs);

    // The payable packet with these rows marked and one unmarked row of another instalment.
    static DataPacket packet(const QList<Key> &marked);
    RecalcResult recalc(const QList<Key> &marked, const QString &operatorCode = "admin",
                        const QString &company = "01");

    QVariant value(const QString &sql, const QVariantList &values = {});
    int count(const QString &table) { return value("SELECT COUNT(*) FROM " + table).toInt(); }
    // Every posting line (without the moment it was written) and every split, in key order: what must
    // not change when nothing may be written, and must repeat when a run is repeated.
    QStringList ledgerRows();

    std::unique_ptr<TestDatabase> test;
};

// A column of a packet as texts, one per row.
QStringList columnTexts(const DataPacket &packet, const QString &field);
