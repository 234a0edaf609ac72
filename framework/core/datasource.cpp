#include "framework/core/datasource.h"

namespace {
// A row number no cursor has: the next outermost enable brings an afterScroll.
constexpr int scrollPending = -2;
} // namespace

DataSource::DataSource(QObject *parent)
    : QObject(parent) {}

void DataSource::setDataSet(ClientDataSet *dataSet) {
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_followingRows = false;
    m_dataSet = dataSet;
    if (dataSet) {
        connect(dataSet, &ClientDataSet::dataChanged, this, &DataSource::dataChanged);
        connect(dataSet, &ClientDataSet::layoutChanged, this, &DataSource::layoutChanged);
        connect(dataSet, &ClientDataSet::controlsDisabledChanged, this, &DataSource::followControls);
        if (dataSet->controlsDisabled())
            m_recNoWhenDisabled = dataSet->recNo();
        else
            followRows();
    }
    emit layoutChanged();
    forwardState();
}

DataSetState DataSource::state() const {
    return m_dataSet ? m_dataSet->savedState() : DataSetState::Inactive;
}

// Stops following the rows at the outermost disable and catches up at the outermost enable. A state
// handler that disables the controls again during the catch-up leaves the scroll to the next enable.
void DataSource::followControls() {
    if (m_dataSet->controlsDisabled()) {
        if (m_followingRows)
            stopFollowingRows();
        return;
    }
    if (m_followingRows)
        return;
    const bool scrolled = m_dataSet->recNo() != m_recNoWhenDisabled;
    m_recNoWhenDisabled = m_dataSet->recNo();
    followRows();
    forwardState();
    if (scrolled && m_followingRows)
        emit afterScroll();
    else if (scrolled)
        m_recNoWhenDisabled = scrollPending;
}

void DataSource::followRows() {
    m_stateFollower = connect(m_dataSet, &ClientDataSet::stateChanged, this, &DataSource::forwardState);
    m_scrollFollower = connect(m_dataSet, &ClientDataSet::afterScroll, this, &DataSource::afterScroll);
    m_followingRows = true;
}

void DataSource::stopFollowingRows() {
    disconnect(m_stateFollower);
    disconnect(m_scrollFollower);
    m_followingRows = false;
    m_recNoWhenDisabled = m_dataSet->recNo();
}

void DataSource::forwardState() {
    if (state() == m_lastState)
        return;
    m_lastState = state();
    emit stateChanged();
}
