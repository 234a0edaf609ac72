#include "pag00800/tfrmrecctpagar.h"

#include <QVariantList>

// Entry of the package: opens the recalculation screen.
extern "C" Q_DECL_EXPORT void IniProc(const QVariantList &) {
    CriaRecConPag();
}
