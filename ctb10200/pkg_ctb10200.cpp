#include "ctb10200/tfrmpreviacontabil.h"

#include <QVariantList>

// Entry of the package: shows the hand-off in the accounting preview.
extern "C" Q_DECL_EXPORT void IniProc(const QVariantList &params) {
    CriaPreviaContabil(params);
}
