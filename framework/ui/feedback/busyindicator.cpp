#include "framework/ui/feedback/busyindicator.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>

namespace {

QPointer<QLabel> indicator;

QString captionOf(int kind) {
    switch (kind) {
    case 1:
        return QStringLiteral("Copiando...");
    case 2:
        return QStringLiteral("Pesquisando...");
    default:
        return QStringLiteral("Processando...");
    }
}

} // namespace

void ActiveShowAvi(QWidget *form, int kind) {
    DeactiveShowAvi();
    QWidget *host = form ? form : QApplication::activeWindow();
    if (!host)
        return;
    indicator = new QLabel(captionOf(kind), host);
    indicator->setObjectName(QStringLiteral("busyIndicator"));
    indicator->setAlignment(Qt::AlignCenter);
    indicator->setFrameShape(QFrame::Box);
    indicator->setAutoFillBackground(true);
    indicator->setMargin(12);
    indicator->adjustSize();
    indicator->move((host->width() - indicator->width()) / 2, (host->height() - indicator->height()) / 2);
    indicator->show();
    indicator->raise();
    indicator->repaint();
}

void DeactiveShowAvi() {
    delete indicator.data();
}

QWidget *busyIndicator() {
    return indicator.data();
}
