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

    // Field numbers in conditions index fields; throws std::invalid_argument on a bad expression.
    static FilterExpression parse(const QString &text, const QList<FieldDef> &fields);

    bool isEmpty() const { return m_groups.isEmpty(); }
    // True when the row's values (read through valueOf) satisfy the expression.
    bool matches(const std::function<QVariant(int field)> &valueOf) const;

private:
    static bool holds(const Condition &condition, const QVariant &value);

    QList<QList<Condition>> m_groups; // OR of ANDs
};
