#include "framework/ui/controls/keyfilter.h"

#include "framework/ui/messages/guard.h"

#include <QKeyEvent>

QChar filterKey(const KeyPressHandler &handler, const QKeyEvent *event) {
    const QString typed = event->text();
    if (typed.size() != 1)
        return QChar();
    QChar key = typed.front();
    if (!handler)
        return key;
    return guardCompleted([&] { handler(key); }) ? key : QChar();
}
