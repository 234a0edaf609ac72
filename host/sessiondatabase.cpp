#include "host/sessiondatabase.h"

#include "framework/session/databaseurl.h"
#include "framework/session/dbgeral.h"

#include <QFileInfo>
#include <stdexcept>

namespace {

[[noreturn]] void refuseUnprepared(const DatabaseUrl &url) {
    throw std::runtime_error(
        QStringLiteral("O banco de dados %1 ainda não foi preparado pelo servidor de aplicação. Inicie o "
                       "servidor sobre este banco (ele cria as tabelas e os dados de demonstração) e "
                       "entre de novo.")
            .arg(url.display())
            .toStdString());
}

bool hasOperatorsTable() {
    const QStringList tables = dtmDBGeral()->database().tables();
    return tables.contains(QStringLiteral("OPERADOR"), Qt::CaseInsensitive);
}

} // namespace

void openSessionDatabase(const QString &url) {
    const DatabaseUrl parsed = DatabaseUrl::parse(url);
    if (parsed.kind == DatabaseUrl::Kind::SQLite && !QFileInfo(parsed.path).isFile())
        refuseUnprepared(parsed);
    dtmDBGeral()->open(url);
    if (!hasOperatorsTable()) {
        dtmDBGeral()->close();
        refuseUnprepared(parsed);
    }
}
