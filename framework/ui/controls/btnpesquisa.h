#pragma once

#include "framework/ui/controls/buttonflat.h"

#include <QPointer>
#include <functional>

class DataSource;

// Search button, which takes the focus by click and by Tab: a click runs Pesquisa() unless OnClick replaces
// it. Pesquisa() runs OnBeforePesq (which typically reopens the data source's query), shows EmptyError when
// the data source has no rows, otherwise lets the user pick one row in a list titled Title; after a pick the
// data source's cursor is on that row, OnAfterPesq runs and the Associate control takes the focus. An
// exception from a hook ends the search; the click itself runs through the handler guard.
class TBtnPesquisa : public TButtonFlat {
    Q_OBJECT
public:
    explicit TBtnPesquisa(QWidget *parent = nullptr);
    TBtnPesquisa(const QString &objectName, QWidget *parent);

    void setAssociate(QWidget *control) { associate = control; }
    QWidget *Associate() const { return associate; }
    void setDataSource(DataSource *source) { rowsSource = source; }
    DataSource *dataSource() const { return rowsSource; }
    void setEmptyError(const QString &text) { emptyError = text; }
    QString EmptyError() const { return emptyError; }
    void setTitle(const QString &text) { title = text; }
    QString Title() const { return title; }

    std::function<void()> OnClick;
    std::function<void()> OnBeforePesq;
    std::function<void()> OnAfterPesq;

    void Pesquisa();

private:
    void runClick();

    QPointer<QWidget> associate;
    QPointer<DataSource> rowsSource;
    QString emptyError;
    QString title;
};
