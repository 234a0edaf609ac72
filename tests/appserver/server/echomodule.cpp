#include "tests/appserver/server/echomodule.h"

#include "framework/core/datapacket.h"

#include <QSqlQuery>
#include <QThread>

QVariant EchoModule::call(const QString &method, CallArgs &args, CallContext &ctx) {
    const auto is = [&](const char *name) {
        return method.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0;
    };
    if (is("Eco"))
        return args.values();
    if (is("Tipos")) {
        args.expectCount(method, {5});
        return QVariantList{args.text(0), args.number(1), args.flag(2), args.date(3),
                            args.packet(4).rowCount()};
    }
    if (is("Maiusculas")) {
        for (int i = 0; i < args.count(); ++i)
            args.setReference(i, args.text(i).toUpper());
        return args.count();
    }
    if (is("Dorme")) {
        QThread::msleep(args.number(0));
        return true;
    }
    if (is("Segura")) {
        holding.release();
        release.acquire();
        return true;
    }
    if (is("Operador"))
        return ctx.operatorCode;
    if (is("Falha"))
        throw ServerFailure(args.text(0));
    if (is("Quebra"))
        throw std::runtime_error("defeito interno");
    if (is("AbreTransacao")) {
        QSqlQuery(QStringLiteral("CREATE TABLE IF NOT EXISTS T (X INTEGER)"), ctx.db).exec();
        ctx.db.transaction();
        QSqlQuery(QStringLiteral("INSERT INTO T VALUES (1)"), ctx.db).exec();
        throw ServerFailure(QStringLiteral("falhou no meio"));
    }
    if (is("ContaLinhas")) {
        QSqlQuery query(QStringLiteral("SELECT COUNT(*) FROM T"), ctx.db);
        return query.next() ? query.value(0).toInt() : -1;
    }
    throw BadCall::unknownMethod(serverName(), method);
}
