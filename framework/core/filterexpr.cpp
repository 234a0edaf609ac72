#include "framework/core/filterexpr.h"

#include <QRegularExpression>
#include <stdexcept>

namespace {
struct Token {
    enum Kind { Name, Text, Number, Operator, End } kind;
    QString text;
};

QList<Token> tokenize(const QString &text) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(\s*(?:([A-Za-z_][A-Za-z0-9_]*)|'((?:[^']|'')*)'|(-?\d+(?:\.\d+)?)|(<>|<=|>=|=|<|>)))"));
    QList<Token> tokens;
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text.at(pos).isSpace()) {
            ++pos;
            continue;
        }
        const QRegularExpressionMatch match = pattern.match(text, pos, QRegularExpression::NormalMatch,
                                                            QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch())
            throw std::invalid_argument("invalid filter expression near position " + std::to_string(pos));
        if (match.capturedLength(1))
            tokens.append(Token{Token::Name, match.captured(1)});
        else if (match.capturedStart(2) >= 0)
            tokens.append(
                Token{Token::Text, match.captured(2).replace(QStringLiteral("''"), QStringLiteral("'"))});
        else if (match.capturedLength(3))
            tokens.append(Token{Token::Number, match.captured(3)});
        else
            tokens.append(Token{Token::Operator, match.captured(4)});
        pos = match.capturedEnd(0);
    }
    tokens.append(Token{Token::End, QString()});
    return tokens;
}

FilterExpression::Condition::Op operatorOf(const Token &token) {
    static const QStringList names = {"=", "<>", "<", ">", "<=", ">="};
    const qsizetype index = token.kind == Token::Operator ? names.indexOf(token.text) : -1;
    if (index < 0)
        throw std::invalid_argument("comparison operator expected in filter expression");
    return FilterExpression::Condition::Op(index);
}

bool isKeyword(const Token &token, const char *keyword) {
    return token.kind == Token::Name &&
           token.text.compare(QLatin1StringView(keyword), Qt::CaseInsensitive) == 0;
}

int compareValues(const QVariant &value, const QVariant &literal) {
    if (literal.typeId() == QMetaType::QString)
        return value.toString().compare(literal.toString(), Qt::CaseInsensitive);
    const double left = value.toDouble();
    const double right = literal.toDouble();
    return left < right ? -1 : (left > right ? 1 : 0);
}
} // namespace

FilterExpression FilterExpression::parse(const QString &text, const QList<FieldDef> &fields) {
    const QList<Token> tokens = tokenize(text);
    FilterExpression expression;
    qsizetype at = 0;
    const auto take = [&tokens, &at]() -> const Token & {
        return tokens.at(at < tokens.size() - 1 ? at++ : at);
    };
    if (tokens.first().kind == Token::End)
        return expression;
    QList<Condition> group;
    for (;;) {
        const Token &name = take();
        Condition condition;
        if (name.kind != Token::Name)
            throw std::invalid_argument("field name expected in filter expression");
        const auto named = std::find_if(fields.begin(), fields.end(), [&name](const FieldDef &def) {
            return def.name.compare(name.text, Qt::CaseInsensitive) == 0;
        });
        condition.field = named == fields.end() ? -1 : int(named - fields.begin());
        if (condition.field < 0)
            throw std::invalid_argument("unknown field in filter expression: " + name.text.toStdString());
        condition.op = operatorOf(take());
        const Token &literal = take();
        if (literal.kind != Token::Text && literal.kind != Token::Number)
            throw std::invalid_argument("value expected in filter expression");
        const FieldKind kind = fields.at(condition.field).kind;
        const bool textField = kind == FieldKind::Text || kind == FieldKind::FixedText;
        condition.literal = textField ? QVariant(literal.text) : QVariant(literal.text.toDouble());
        group.append(condition);
        const Token &next = take();
        if (next.kind == Token::End)
            break;
        if (isKeyword(next, "or")) {
            expression.m_groups.append(group);
            group.clear();
        } else if (!isKeyword(next, "and")) {
            throw std::invalid_argument("AND or OR expected in filter expression");
        }
    }
    expression.m_groups.append(group);
    return expression;
}

bool FilterExpression::holds(const Condition &condition, const QVariant &value) {
    const int order = compareValues(value, condition.literal);
    switch (condition.op) {
    case Condition::Equal:
        return order == 0;
    case Condition::NotEqual:
        return order != 0;
    case Condition::Less:
        return order < 0;
    case Condition::Greater:
        return order > 0;
    case Condition::LessEqual:
        return order <= 0;
    case Condition::GreaterEqual:
        return order >= 0;
    }
    return false;
}

bool FilterExpression::matches(const std::function<QVariant(int)> &valueOf) const {
    for (const QList<Condition> &group : m_groups) {
        const bool all = std::all_of(group.begin(), group.end(),
                                     [&](const Condition &c) { return holds(c, valueOf(c.field)); });
        if (all)
            return true;
    }
    return m_groups.isEmpty();
}
