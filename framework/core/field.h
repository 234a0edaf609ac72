#pragma once

#include "framework/core/datapacket.h"

#include <functional>

class ClientDataSet;

// One field of a dataset. Reads and writes address the dataset's current row (in the calculate
// state, the row being calculated). Reading a null gives "" or 0. A text longer than the field's
// size is cut when stored.
class PAGCORE_EXPORT Field {
public:
    Field(ClientDataSet *dataSet, int index, const FieldDef &def);

    const QString &name() const { return m_def.name; }
    const FieldDef &def() const { return m_def; }
    int index() const { return m_index; }
    ClientDataSet *dataSet() const { return m_dataSet; }

    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    // Appends asString() to out; texts of loaded rows go straight from storage, without a copy.
    void appendAsString(QString &out) const;
    // Stored text fields: their texts are read straight from the dataset's storage.
    bool readsStoredText() const {
        return (m_def.kind == FieldKind::Text || m_def.kind == FieldKind::FixedText) && !m_def.calculated;
    }
    double asDateTime() const;
    double asFloat() const;
    qint64 asInteger() const;
    bool asBoolean() const;

    void setValue(const QVariant &value);
    void setAsString(const QString &value);
    void setAsDateTime(double days);
    void setAsFloat(double value);
    void setAsInteger(qint64 value);
    void clear();

    // Text shown to the user: the get-text handler's result when set, otherwise the value in the
    // field's display format ("#,##0.00" in Brazilian notation, dates as dd/MM/yyyy).
    QString displayText();
    void setOnGetText(std::function<QString(Field &)> handler);
    bool hasOnGetText() const { return bool(m_onGetText); }

    // Formats a value of this field without a get-text handler.
    QString formatValue(const QVariant &value) const;
    // The value converted to this field's kind, texts cut to the field's size.
    QVariant normalized(const QVariant &value) const;

private:
    ClientDataSet *m_dataSet;
    int m_index;
    FieldDef m_def;
    std::function<QString(Field &)> m_onGetText;
};
