#pragma once

#include "framework/ui/grid/deferredupdate.h"

#include <QPointer>
#include <QStyle>
#include <QWidget>

class DataSource;
class QToolButton;

// First / prior / next / last buttons over a data source ("nbFirst", "nbPrior", "nbNext",
// "nbLast"), enabled as the cursor's position allows.
class DataNavigator : public QWidget {
    Q_OBJECT
public:
    DataNavigator(const QString &objectName, QWidget *parent);

    void setDataSource(DataSource *source);
    QToolButton *button(const QString &name) const;

private:
    QToolButton *addButton(const QString &name, const QString &hint, QStyle::StandardPixmap icon);
    void move(void (*step)(class ClientDataSet *));
    void refresh();

    QPointer<DataSource> source;
    QToolButton *first;
    QToolButton *prior;
    QToolButton *next;
    QToolButton *last;
    DeferredUpdate deferred{this, [this] { refresh(); }};
};
