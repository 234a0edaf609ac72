#pragma once

#include "framework/core/dataset.h"

#include <QPointer>

// Connects data-aware controls to a dataset: forwards its notifications and state changes.
// While the dataset's controls are disabled the data source follows none of its rows' state changes
// and scrolls, so bulk work over many rows costs controls nothing per row. The enableControls that
// ends the nesting brings the held-back layoutChanged (when something changed), then one
// stateChanged when the state differs from the one last forwarded and one afterScroll when the
// cursor is on another row than when the controls were disabled. state() is the dataset's at every
// moment.
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
    void followControls();
    void followRows();
    void stopFollowingRows();
    void forwardState();

    QPointer<ClientDataSet> m_dataSet;
    DataSetState m_lastState = DataSetState::Inactive;
    QMetaObject::Connection m_stateFollower;
    QMetaObject::Connection m_scrollFollower;
    bool m_followingRows = false;
    int m_recNoWhenDisabled = -1;
};
