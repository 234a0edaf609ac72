#pragma once

#include "framework/core/datapacket.h"

#include <functional>

// A parsed filter expression: conditions "FIELD op literal" joined by AND / OR (AND binds tighter).
// Operators: = <> < > <= >=. Literals: 'text' (a doubled quote stands for one) or numbers.
// Keywords and field names match without regard to case; texts compare without regard to case.
class FilterExpression {
public:
    struct Condition {
        int field = -1;
        enum Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual } op = Equal;
        QVariant literal;
    };

    // Resolves field names through fieldIndex (-1 = unknown); throws std::invalid_argument.
    static FilterExpression parse(const QString &text, const std::function<int(QStringView)> &fieldIndex,
                                  const std::function<FieldKind(int)> &fieldKind);

    bool isEmpty() const { return m_groups.isEmpty(); }
    // True when the row's values (read through valueOf) satisfy the expression.
    bool matches(const std::function<QVariant(int field)> &valueOf) const;

private:
    static bool holds(const Condition &condition, const QVariant &value);

    QList<QList<Condition>> m_groups; // OR of ANDs
};
