#include "framework/ui/messages/guard.h"

#include "framework/ui/messages/messageservice.h"

#include <QString>

void showHandlerFailure(const std::exception &failure) noexcept {
    try {
        MessageService::current().error(QString::fromUtf8(failure.what()));
    } catch (...) {
        qWarning("a handler failure could not be shown: %s", failure.what());
    }
}

void showUnknownHandlerFailure() noexcept {
    try {
        MessageService::current().error(QStringLiteral("Erro inesperado."));
    } catch (...) {
        qWarning("an unknown handler failure could not be shown");
    }
}
