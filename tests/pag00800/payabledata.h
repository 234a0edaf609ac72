#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

// Writes payables into the test server's database through a connection of its own, as another user
// would: each test gets a company of its own (admin may use it; its period is open around today) so
// that what one test writes never shows in another's list.
class PayableData {
public:
    PayableData();
    ~PayableData();

    struct Key {
        QString branch, entry, sequence = QStringLiteral("01"), instalment = QStringLiteral("01");
    };

    // A new company with branch company + "01"; returns its code.
    QString addCompany();
    // A document of supplier 000001 entered today, status "N", with one instalment due in ten days.
    Key addInstalment(const QString &company, const QString &entry, qint64 cents,
                      const QString &type = "MAT");
    void addAdjustment(const Key &key, int sequence, qint64 cents, const QString &postingNumber = {});

    void exec(const QString &sql, const QVariantList &values = {});
    QVariant value(const QString &sql, const QVariantList &values = {});
    static QVariantList keyValues(const Key &key) {
        return {key.branch, key.entry, key.sequence, key.instalment};
    }

private:
    QString m_connection;
    QSqlDatabase m_db;
};
