#pragma once

#include <QObject>
#include <functional>

class ClientDataSet;

// Keeps a data-aware control from following a dataset while its controls are disabled (bulk
// work moving the cursor over many rows): request() updates at once when the controls are
// enabled, otherwise once from the event loop after the bulk work has ended.
class DeferredUpdate {
public:
    DeferredUpdate(QObject *owner, std::function<void()> update);

    void request(const ClientDataSet *rows);

private:
    QObject *owner;
    std::function<void()> update;
    bool pending = false;
};
