#include "framework/ui/grid/dbtext.h"

#include "framework/core/datasource.h"
#include "framework/ui/messages/guard.h"

DataLabel::DataLabel(const QString &objectName, QWidget *parent)
    : QLabel(parent) {
    setObjectName(objectName);
}

void DataLabel::setDataSource(DataSource *newSource) {
    deferred.follow(source, newSource);
    source = newSource;
    if (source)
        connect(source, &DataSource::dataChanged, this, [this] { deferred.request(source->dataSet()); });
    refresh();
}

void DataLabel::setDataField(const QString &name) {
    fieldName = name;
    refresh();
}

void DataLabel::refresh() {
    ClientDataSet *rows = source ? source->dataSet() : nullptr;
    QString shown;
    if (rows && rows->active() && !rows->isEmpty() && rows->state() != DataSetState::CalcFields) {
        guard([&] {
            if (Field *field = rows->findField(fieldName))
                shown = field->displayText();
        });
    }
    setText(shown);
}
