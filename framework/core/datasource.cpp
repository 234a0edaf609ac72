#include "framework/core/datasource.h"

DataSource::DataSource(QObject *parent)
    : QObject(parent) {}

void DataSource::setDataSet(ClientDataSet *dataSet) {
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (dataSet) {
        connect(dataSet, &ClientDataSet::stateChanged, this, [this] {
            if (state() == m_lastState)
                return;
            m_lastState = state();
            emit stateChanged();
        });
        connect(dataSet, &ClientDataSet::dataChanged, this, &DataSource::dataChanged);
        connect(dataSet, &ClientDataSet::layoutChanged, this, &DataSource::layoutChanged);
        connect(dataSet, &ClientDataSet::afterScroll, this, [this] {
            if (!m_dataSet->controlsDisabled())
                emit afterScroll();
        });
    }
    emit layoutChanged();
    if (state() != m_lastState) {
        m_lastState = state();
        emit stateChanged();
    }
}

DataSetState DataSource::state() const {
    return m_dataSet ? m_dataSet->savedState() : DataSetState::Inactive;
}
