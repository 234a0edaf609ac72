#include "framework/ui/grid/deferredupdate.h"

#include "framework/core/dataset.h"

#include <QPointer>
#include <QTimer>

DeferredUpdate::DeferredUpdate(QObject *owner, std::function<void()> update)
    : owner(owner)
    , update(std::move(update)) {}

void DeferredUpdate::request(const ClientDataSet *rows) {
    if (!rows || !rows->controlsDisabled()) {
        update();
        return;
    }
    if (pending)
        return;
    pending = true;
    const QPointer<const ClientDataSet> watched(rows);
    QTimer::singleShot(0, owner, [this, watched] {
        pending = false;
        if (!watched || !watched->controlsDisabled())
            update();
    });
}
