// A package for the loader's tests. Its static initialization counts loads and IniProc
// records every call, both in properties of the application object that the test reads.
#include <QCoreApplication>
#include <QVariant>

namespace {

void bump(const char *property) {
    qApp->setProperty(property, qApp->property(property).toInt() + 1);
}

[[maybe_unused]] const bool loaded = [] {
    bump("testpackage.loads");
    return true;
}();

} // namespace

extern "C" Q_DECL_EXPORT void IniProc(const QVariantList &params) {
    bump("testpackage.calls");
    qApp->setProperty("testpackage.params", params);
}
