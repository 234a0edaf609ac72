#pragma once

#include "framework/ui/grid/deferredupdate.h"

#include <QLabel>
#include <QPointer>

class DataSource;

// A label showing one field of its data source's current row (empty while the dataset is closed).
class DataLabel : public QLabel {
    Q_OBJECT
public:
    DataLabel(const QString &objectName, QWidget *parent);

    void setDataSource(DataSource *source);
    void setDataField(const QString &fieldName);
    QString dataField() const { return fieldName; }

private:
    void refresh();

    QPointer<DataSource> source;
    QString fieldName;
    DeferredUpdate deferred{this, [this] { refresh(); }};
};
