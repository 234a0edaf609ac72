#include "framework/session/adoibquery.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

namespace {

// ":NAME" placeholders; "::type" casts of PostgreSQL are not parameters.
const QRegularExpression &placeholderPattern() {
    static const QRegularExpression pattern(QStringLiteral("(?<![:\\w]):([A-Za-z_]\\w*)"));
    return pattern;
}

QStringList placeholdersOf(const QString &text) {
    QStringList names;
    auto matches = placeholderPattern().globalMatch(text);
    while (matches.hasNext()) {
        const QString name = matches.next().captured(1);
        if (!names.contains(name, Qt::CaseInsensitive))
            names << name;
    }
    return names;
}

FieldKind kindOf(const QSqlField &field) {
    switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return FieldKind::Integer;
    case QMetaType::Double:
        return FieldKind::Float;
    case QMetaType::Bool:
        return FieldKind::Boolean;
    default:
        return FieldKind::Text;
    }
}

} // namespace

bool QueryParam::IsNull() const {
    return m_value.isNull() || (m_value.typeId() == QMetaType::QString && m_value.toString().isEmpty());
}

TADOIBQuery::TADOIBQuery(QObject *parent)
    : ClientDataSet(parent) {}

TADOIBQuery::~TADOIBQuery() = default;

void TADOIBQuery::setSQL(const QString &text) {
    m_defaultSql = text;
    collectParams(text);
}

void TADOIBQuery::setSQL(SqlDialect dialect, const QString &text) {
    if (dialect == SqlDialect::SQLite) {
        setSQL(text);
        return;
    }
    m_dialectSql.insert(dialect, text);
    collectParams(text);
}

QString TADOIBQuery::sqlFor(SqlDialect dialect) const {
    return m_dialectSql.value(dialect, m_defaultSql);
}

QueryParam *TADOIBQuery::ParamByName(const QString &name) {
    for (const auto &param : m_params)
        if (param->name().compare(name, Qt::CaseInsensitive) == 0)
            return param.get();
    throw std::invalid_argument(
        QStringLiteral("Parâmetro %1 não existe na consulta.").arg(name).toStdString());
}

void TADOIBQuery::collectParams(const QString &text) {
    for (const QString &name : placeholdersOf(text)) {
        const bool known = std::any_of(m_params.cbegin(), m_params.cend(), [&](const auto &param) {
            return param->name().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!known)
            m_params.push_back(std::make_unique<QueryParam>(name));
    }
}

void TADOIBQuery::Open() {
    close();
    const QString text = sqlFor(dtmDBGeral()->dialect());
    QSqlQuery query(dtmDBGeral()->database());
    query.setForwardOnly(true);
    bool ok = query.prepare(text);
    if (ok) {
        for (const QString &name : placeholdersOf(text)) {
            const QueryParam *param = ParamByName(name);
            query.bindValue(u':' + name,
                            param->IsNull() ? QVariant(QMetaType::fromType<QString>()) : param->value());
        }
        ok = query.exec();
    }
    if (!ok)
        throw std::runtime_error(QStringLiteral("Erro ao consultar o banco de dados: %1")
                                     .arg(query.lastError().text())
                                     .toStdString());
    setData(readResult(query));
}

QList<FieldDef> TADOIBQuery::resultFields(const QSqlRecord &record) const {
    if (fieldCount() > 0)
        return fieldDefs();
    QList<FieldDef> fields;
    for (int column = 0; column < record.count(); ++column) {
        FieldDef def;
        def.name = record.fieldName(column).toUpper();
        def.kind = kindOf(record.field(column));
        def.displayLabel = def.name;
        fields << def;
    }
    return fields;
}

DataPacket TADOIBQuery::readResult(QSqlQuery &query) const {
    const QSqlRecord record = query.record();
    const QList<FieldDef> fields = resultFields(record);
    QList<int> columns;
    for (const FieldDef &def : fields)
        columns << record.indexOf(def.name);
    DataPacket packet(fields);
    QVariantList row(fields.size());
    while (query.next()) {
        for (int i = 0; i < fields.size(); ++i)
            row[i] = columns[i] < 0 ? QVariant() : query.value(columns[i]);
        packet.appendRow(row);
    }
    return packet;
}
