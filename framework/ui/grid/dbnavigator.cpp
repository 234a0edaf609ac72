#include "framework/ui/grid/dbnavigator.h"

#include "framework/core/datasource.h"
#include "framework/ui/messages/guard.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

DataNavigator::DataNavigator(const QString &objectName, QWidget *parent)
    : QWidget(parent) {
    setObjectName(objectName);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    first = addButton(QStringLiteral("nbFirst"), QStringLiteral("Primeiro"), QStyle::SP_MediaSkipBackward);
    prior = addButton(QStringLiteral("nbPrior"), QStringLiteral("Anterior"), QStyle::SP_MediaSeekBackward);
    next = addButton(QStringLiteral("nbNext"), QStringLiteral("Próximo"), QStyle::SP_MediaSeekForward);
    last = addButton(QStringLiteral("nbLast"), QStringLiteral("Último"), QStyle::SP_MediaSkipForward);
    connect(first, &QToolButton::clicked, this,
            guarded([this] { move([](ClientDataSet *d) { d->first(); }); }));
    connect(prior, &QToolButton::clicked, this,
            guarded([this] { move([](ClientDataSet *d) { d->prior(); }); }));
    connect(next, &QToolButton::clicked, this,
            guarded([this] { move([](ClientDataSet *d) { d->next(); }); }));
    connect(last, &QToolButton::clicked, this,
            guarded([this] { move([](ClientDataSet *d) { d->last(); }); }));
    refresh();
}

QToolButton *DataNavigator::addButton(const QString &name, const QString &hint, QStyle::StandardPixmap icon) {
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    layout()->addWidget(button);
    return button;
}

QToolButton *DataNavigator::button(const QString &name) const {
    return findChild<QToolButton *>(name);
}

void DataNavigator::setDataSource(DataSource *newSource) {
    deferred.follow(source, newSource);
    source = newSource;
    refresh();
}

void DataNavigator::move(void (*step)(ClientDataSet *)) {
    if (ClientDataSet *rows = source ? source->dataSet() : nullptr)
        step(rows);
}

void DataNavigator::refresh() {
    ClientDataSet *rows = source ? source->dataSet() : nullptr;
    const bool browsing = rows && rows->active() && !rows->isEmpty();
    const bool atStart = !browsing || rows->recNo() <= 0;
    const bool atEnd = !browsing || rows->recNo() >= rows->recordCount() - 1;
    first->setEnabled(!atStart);
    prior->setEnabled(!atStart);
    next->setEnabled(!atEnd);
    last->setEnabled(!atEnd);
}
