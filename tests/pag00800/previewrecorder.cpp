// Stands in for the accounting preview package in the hand-off tests: IniProc keeps what it was handed
// in a property of the application object, where the test reads it.
#include <QCoreApplication>
#include <QVariant>

extern "C" Q_DECL_EXPORT void IniProc(const QVariantList &params) {
    qApp->setProperty("preview.calls", qApp->property("preview.calls").toInt() + 1);
    qApp->setProperty("preview.params", params);
}
