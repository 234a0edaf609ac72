#pragma once

#include <QObject>
#include <functional>

class ClientDataSet;
class DataSource;

// Keeps a data-aware control from following a dataset while its controls are disabled (bulk
// work moving the cursor over many rows): request() updates at once when the controls are
// enabled, otherwise once from the event loop after the bulk work has ended.
class DeferredUpdate {
public:
    DeferredUpdate(QObject *owner, std::function<void()> update);

    void request(const ClientDataSet *rows);
    // Moves the owner from one data source to another: drops the owner's connections to the old
    // source and requests an update on each scroll, layout change and state change of the new one.
    void follow(DataSource *oldSource, DataSource *newSource);

private:
    QObject *owner;
    std::function<void()> update;
    bool pending = false;
};
