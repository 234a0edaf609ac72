#include "appserver/recalc/boundrows.h"
#include "appserver/db/database.h"

#include <QJsonArray>
#include <QJsonDocument>

QString postgresArray(const QVariantList &values) {
    QString text;
    text.reserve(values.size() * 16);
    text += u'{';
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += u',';
        const QVariant &value = values.at(i);
        if (value.isNull()) {
            text += QLatin1String("NULL");
            continue;
        }
        text += u'"';
        for (const QChar c : value.toString()) {
            if (c == u'"' || c == u'\\')
                text += u'\\';
            text += c;
        }
        text += u'"';
    }
    text += u'}';
    return text;
}

QString jsonRows(const QList<QVariantList> &rows) {
    QJsonArray array;
    for (const QVariantList &row : rows) {
        QJsonArray values;
        for (const QVariant &value : row)
            values.append(value.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue::fromVariant(value));
        array.append(values);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

BoundRows boundRows(const QSqlDatabase &db, const QString &name, const QStringList &columns,
                    const QList<QVariantList> &rows) {
    BoundRows bound;
    bound.definition = QStringLiteral("%1 (%2) AS (SELECT ").arg(name, columns.join(QStringLiteral(", ")));
    QStringList parts;
    if (isPostgres(db)) {
        for (qsizetype c = 0; c < columns.size(); ++c) {
            QVariantList column;
            column.reserve(rows.size());
            for (const QVariantList &row : rows)
                column << row.at(c);
            bound.values << postgresArray(column);
            parts << QStringLiteral("CAST(? AS TEXT[])");
        }
        bound.definition += QStringLiteral("* FROM unnest(%1))").arg(parts.join(QStringLiteral(", ")));
    } else {
        for (qsizetype c = 0; c < columns.size(); ++c)
            parts << QStringLiteral("value ->> %1").arg(c);
        bound.definition += parts.join(QStringLiteral(", ")) + QStringLiteral(" FROM json_each(?))");
        bound.values << jsonRows(rows);
    }
    return bound;
}
