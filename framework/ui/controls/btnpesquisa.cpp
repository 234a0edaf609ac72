#include "framework/ui/controls/btnpesquisa.h"

#include "framework/core/abort.h"
#include "framework/core/datasource.h"
#include "framework/ui/dialogs/pickrow.h"
#include "framework/ui/messages/guard.h"

TBtnPesquisa::TBtnPesquisa(QWidget *parent)
    : TButtonFlat(parent) {
    // A click puts the focus on the button, so leaving an edit for its search is a move inside
    // the edit's panel.
    setFocusPolicy(Qt::StrongFocus);
    setHint(QStringLiteral("Pesquisar"));
    setText(QStringLiteral("..."));
    connect(this, &QAbstractButton::clicked, this, guarded([this] { runClick(); }));
}

TBtnPesquisa::TBtnPesquisa(const QString &objectName, QWidget *parent)
    : TBtnPesquisa(parent) {
    setObjectName(objectName);
}

void TBtnPesquisa::runClick() {
    if (OnClick)
        OnClick();
    else
        Pesquisa();
}

void TBtnPesquisa::Pesquisa() {
    if (OnBeforePesq)
        OnBeforePesq();
    ClientDataSet *rows = rowsSource ? rowsSource->dataSet() : nullptr;
    if (!rows || !rows->active() || rows->isEmpty())
        MensErro(emptyError.isEmpty() ? QStringLiteral("Não há registros.") : emptyError, true);
    if (!pickRow(rowsSource, title))
        return;
    if (OnAfterPesq)
        OnAfterPesq();
    if (associate)
        associate->setFocus(Qt::OtherFocusReason);
}
