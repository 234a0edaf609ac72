#pragma once

#include "framework/session/packageloader.h"

#include <QCoreApplication>
#include <QVariant>

// While it lives, the screen's hand-off to CTB10200 reaches the recorder package (previewrecorder.cpp),
// which keeps the number of calls and the last parameters it got. Packages load once per process: the
// screen's own package must be loaded before, and the first hand-off of the process made while, one
// of these lives.
class PreviewCalls {
public:
    PreviewCalls()
        : packages(Norvela::packagesPath()) {
        Norvela::setPackagesPath(QStringLiteral(RECORDER_PACKAGES_DIR));
        qApp->setProperty("preview.calls", 0);
        qApp->setProperty("preview.params", QVariant());
    }
    ~PreviewCalls() { Norvela::setPackagesPath(packages); }

    int count() const { return qApp->property("preview.calls").toInt(); }
    QVariantList params() const { return qApp->property("preview.params").toList(); }

private:
    QString packages;
};
