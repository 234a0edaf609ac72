#include "framework/core/abort.h"

#include <QDebug>

namespace {
std::function<void(const QString &)> &errorDisplay() {
    static std::function<void(const QString &)> display;
    return display;
}
} // namespace

void setErrorDisplay(std::function<void(const QString &)> display) {
    errorDisplay() = std::move(display);
}

void MensErro(const QString &text, bool stop) {
    if (errorDisplay())
        errorDisplay()(text);
    else
        qWarning().noquote() << text;
    if (stop)
        throw SilentAbort();
}
