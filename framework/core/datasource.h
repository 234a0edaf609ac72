#pragma once

#include "framework/core/dataset.h"

#include <QPointer>

// Connects data-aware controls to a dataset: forwards its notifications and state changes.
// afterScroll is forwarded only while the dataset's controls are enabled; re-enabling them brings
// one layoutChanged, after which controls re-read the current row.
class PAGCORE_EXPORT DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);

    void setDataSet(ClientDataSet *dataSet);
    ClientDataSet *dataSet() const { return m_dataSet; }
    DataSetState state() const;

signals:
    void stateChanged();
    void dataChanged(int viewRow);
    void layoutChanged();
    void afterScroll();

private:
    QPointer<ClientDataSet> m_dataSet;
    DataSetState m_lastState = DataSetState::Inactive;
};
