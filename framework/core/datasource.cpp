#include "framework/core/datasource.h"

DataSource::DataSource(QObject *parent)
    : QObject(parent) {}
void DataSource::setDataSet(ClientDataSet *dataSet) {
    m_dataSet = dataSet;
}
DataSetState DataSource::state() const {
    return m_dataSet ? m_dataSet->state() : DataSetState::Inactive;
}
