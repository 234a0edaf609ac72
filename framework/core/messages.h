#pragma once

#include "framework/core/pagcore_export.h"

#include <QHash>
#include <QStringList>

// A screen's message table: lines of "key|text". Keys match without regard to letter case.
// A key missing from the table yields the key itself, so composed texts stay readable.
class PAGCORE_EXPORT TMessages {
public:
    TMessages() = default;
    explicit TMessages(const QStringList &lines);
    virtual ~TMessages() = default;

    void setLines(const QStringList &lines);
    QStringList lines() const { return m_lines; }
    bool contains(const QString &key) const;
    QString Msg(const QString &key) const;

private:
    QStringList m_lines;
    QHash<QString, QString> m_texts;
};
