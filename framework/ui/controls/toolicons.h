#pragma once

#include <QIcon>

// An icon of the screens' tool bars by name: "confirmar", "procurar", "verificar", "imprimir",
// "ajuda", "fechar", "filtro", "contabilizar". Its disabled form is drawn grey and faint, so a
// command that cannot run now is told apart at a glance.
QIcon toolIcon(const QString &name);
