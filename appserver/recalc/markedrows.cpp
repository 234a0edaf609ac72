#include "appserver/recalc/markedrows.h"
#include "appserver/server/module.h"
#include "framework/core/datapacket.h"

#include <QSet>
#include <algorithm>

namespace {

const QStringList keyFields = {QStringLiteral("CDFILIAL"), QStringLiteral("NRLANCTONF"),
                               QStringLiteral("NRSEQVENPAG"), QStringLiteral("NRPARCELAPAG")};

int requireField(const DataPacket &payables, const QString &name) {
    const int index = payables.fieldIndex(name);
    if (index < 0)
        throw ServerFailure(QStringLiteral("O pacote de contas a pagar não tem o campo %1.").arg(name));
    return index;
}

bool isMarked(const DataPacket &payables, int row, int markColumn) {
    const QString mark = payables.value(row, markColumn).toString().trimmed();
    if (mark == QLatin1String("S"))
        return true;
    if (mark == QLatin1String("N") || mark.isEmpty())
        return false;
    throw ServerFailure(QStringLiteral("Marcação inválida \"%1\" na linha %2 do pacote de contas a pagar.")
                            .arg(mark)
                            .arg(row + 1));
}

// Branches, due sequences and instalment numbers repeat from row to row: `texts` keeps each distinct
// part once, and the keys share it.
InstalmentKey keyOf(const DataPacket &payables, int row, const QList<int> &columns, QSet<QString> &texts) {
    QStringList parts;
    for (int i = 0; i < columns.size(); ++i) {
        const QString part = payables.value(row, columns.at(i)).toString().trimmed();
        if (part.isEmpty())
            throw ServerFailure(QStringLiteral("A linha %1 marcada do pacote de contas a pagar não tem %2.")
                                    .arg(row + 1)
                                    .arg(keyFields.at(i)));
        parts << *texts.insert(part);
    }
    return {parts.at(0), parts.at(1), parts.at(2), parts.at(3)};
}

} // namespace

QList<InstalmentKey> readMarkedKeys(const DataPacket &payables) {
    const int markColumn = requireField(payables, QStringLiteral("IDMARCADO"));
    QList<int> columns;
    for (const QString &name : keyFields)
        columns << requireField(payables, name);
    QSet<InstalmentKey> seen;
    QSet<QString> texts;
    QList<InstalmentKey> keys;
    for (int row = 0; row < payables.rowCount(); ++row) {
        if (!isMarked(payables, row, markColumn))
            continue;
        const InstalmentKey key = keyOf(payables, row, columns, texts);
        if (!seen.contains(key)) {
            seen.insert(key);
            keys << key;
        }
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}
