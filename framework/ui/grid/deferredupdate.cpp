#include "framework/ui/grid/deferredupdate.h"

#include "framework/core/dataset.h"
#include "framework/core/datasource.h"

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

void DeferredUpdate::follow(DataSource *oldSource, DataSource *newSource) {
    if (oldSource)
        QObject::disconnect(oldSource, nullptr, owner, nullptr);
    if (!newSource)
        return;
    const auto requestUpdate = [this, newSource] { request(newSource->dataSet()); };
    QObject::connect(newSource, &DataSource::afterScroll, owner, requestUpdate);
    QObject::connect(newSource, &DataSource::layoutChanged, owner, requestUpdate);
    QObject::connect(newSource, &DataSource::stateChanged, owner, requestUpdate);
}
