#pragma once

#include "framework/core/dataset.h"
#include "framework/session/dbgeral.h"

#include <QHash>
#include <QMap>
#include <memory>
#include <vector>

class QSqlQuery;
class QSqlRecord;

// One named parameter of a TADOIBQuery. An empty text is bound as null, so that
// "COALESCE(:P, COLUMN)" lists every row when the parameter is cleared.
class QueryParam {
public:
    explicit QueryParam(const QString &name)
        : m_name(name) {}

    const QString &name() const { return m_name; }
    QVariant value() const { return m_value; }
    void setValue(const QVariant &value) { m_value = value; }
    QString AsString() const { return m_value.toString(); }
    void setAsString(const QString &text) { m_value = text; }
    void Clear() { m_value = QVariant(); }
    bool IsNull() const;

private:
    QString m_name;
    QVariant m_value;
};

// A read-only query on the shared connection dtmDBGeral. Each Open runs the statement afresh and
// loads the whole result into this dataset, so a DataSource, the grid and the list picker use it
// like any other dataset. It keeps one SQL text per dialect and runs the one of the database in
// use, falling back to the default (SQLite) text. Declared fields (addField) keep their labels,
// sizes and visibility; without them the fields follow the result's columns.
class TADOIBQuery : public ClientDataSet {
    Q_OBJECT
public:
    explicit TADOIBQuery(QObject *parent = nullptr);
    ~TADOIBQuery() override;

    // The default text, run on SQLite and on any dialect without a text of its own.
    void setSQL(const QString &text);
    QString SQL() const { return m_defaultSql; }
    void setSQL(SqlDialect dialect, const QString &text);
    // The text that Open runs on `dialect`.
    QString sqlFor(SqlDialect dialect) const;

    // Throws std::invalid_argument for a name that no text of the query uses.
    QueryParam *ParamByName(const QString &name);

    // Runs the query; throws std::runtime_error (Portuguese message) when the database refuses it.
    void Open();
    void Close() { close(); }
    bool IsEmpty() const { return isEmpty(); }
    Field *FieldByName(const QString &name) const { return fieldByName(name); }

private:
    void collectParams(const QString &text);
    DataPacket readResult(QSqlQuery &query) const;
    QList<FieldDef> resultFields(const QSqlRecord &record) const;

    QString m_defaultSql;
    QMap<SqlDialect, QString> m_dialectSql;
    std::vector<std::unique_ptr<QueryParam>> m_params;
};
