#include "appserver/server/operatorcommand.h"
#include "appserver/db/database.h"

namespace {

constexpr int maxCodeLength = 12;
constexpr int maxNameLength = 40;

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString &message)
        : std::runtime_error(message.toStdString()) {}
};

const QString usage = QStringLiteral("uso: pagserver [--database URL] operator add CODIGO [NOME] | "
                                     "operator password CODIGO | operator grant CODIGO EMPRESA...");

QString operatorCode(const QStringList &command) {
    const QString code = command.value(2);
    if (code.isEmpty() || code.size() > maxCodeLength)
        throw UsageError(
            QStringLiteral("código de operador vazio ou com mais de %1 caracteres").arg(maxCodeLength));
    return code;
}

QString readPassword(QTextStream &input) {
    const QString password = input.readLine();
    if (password.isEmpty())
        throw UsageError(QStringLiteral("senha vazia: escreva a senha na entrada padrão"));
    return password;
}

void requireArguments(const QStringList &command, qsizetype min, qsizetype max) {
    if (command.size() < min || command.size() > max)
        throw UsageError(usage);
}

QString add(QSqlDatabase &db, const QStringList &command, QTextStream &input) {
    requireArguments(command, 3, 4);
    const QString code = operatorCode(command);
    const QString name = command.value(3, code);
    if (name.size() > maxNameLength)
        throw UsageError(QStringLiteral("nome com mais de %1 caracteres").arg(maxNameLength));
    addOperator(db, code, name, readPassword(input));
    return QStringLiteral("operador %1 criado").arg(code);
}

QString password(QSqlDatabase &db, const QStringList &command, QTextStream &input) {
    requireArguments(command, 3, 3);
    const QString code = operatorCode(command);
    setOperatorPassword(db, code, readPassword(input));
    return QStringLiteral("senha do operador %1 alterada").arg(code);
}

QString grant(QSqlDatabase &db, const QStringList &command) {
    requireArguments(command, 4, command.size());
    const QString code = operatorCode(command);
    const QStringList companies = command.mid(3);
    grantCompanies(db, code, companies);
    return QStringLiteral("operador %1 pode usar as empresas %2").arg(code, companies.join(u' '));
}

QString run(QSqlDatabase &db, const QStringList &command, QTextStream &input) {
    if (command.value(0) != QStringLiteral("operator"))
        throw UsageError(usage);
    const QString action = command.value(1);
    if (action == QStringLiteral("add"))
        return add(db, command, input);
    if (action == QStringLiteral("password"))
        return password(db, command, input);
    if (action == QStringLiteral("grant"))
        return grant(db, command);
    throw UsageError(usage);
}

} // namespace

int runOperatorCommand(QSqlDatabase &db, const QStringList &command, QTextStream &input,
                       QTextStream &output) {
    try {
        output << run(db, command, input) << Qt::endl;
        return 0;
    } catch (const UsageError &e) {
        output << QString::fromUtf8(e.what()) << Qt::endl;
        return 2;
    } catch (const DatabaseError &e) {
        output << e.message() << Qt::endl;
        return 1;
    }
}
