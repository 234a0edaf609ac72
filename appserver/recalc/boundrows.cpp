#include "appserver/recalc/boundrows.h"
#include "appserver/db/database.h"

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

namespace {

void appendJsonText(QString &json, const QString &text) {
    json += u'"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            json += u'\\';
            json += c;
        } else if (c.unicode() < 0x20) {
            json += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            json += c;
        }
    }
    json += u'"';
}

} // namespace

QString jsonRows(const QList<QVariantList> &rows) {
    QString json;
    json.reserve(rows.size() * 32);
    json += u'[';
    for (qsizetype r = 0; r < rows.size(); ++r) {
        json += r ? QLatin1String(",[") : QLatin1String("[");
        const QVariantList &row = rows.at(r);
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                json += u',';
            const QVariant &value = row.at(i);
            if (value.isNull())
                json += QLatin1String("null");
            else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
                json += QString::number(value.toLongLong());
            else
                appendJsonText(json, value.toString());
        }
        json += u']';
    }
    json += u']';
    return json;
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
