#include "framework/ui/controls/buttonflat.h"

TButtonFlat::TButtonFlat(QWidget *parent)
    : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
}

TButtonFlat::TButtonFlat(const QString &objectName, const QString &hint, QWidget *parent)
    : TButtonFlat(parent) {
    setObjectName(objectName);
    setHint(hint);
    setText(hint);
}
