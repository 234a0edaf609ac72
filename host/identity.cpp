#include "host/identity.h"

QString systemName() {
    return QStringLiteral("Contas a Pagar");
}

QIcon applicationIcon() {
    return QIcon(QStringLiteral(":/host/contasapagar.svg"));
}
