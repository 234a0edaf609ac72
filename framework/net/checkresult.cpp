#include "framework/net/checkresult.h"

#include "framework/core/abort.h"

bool isServerFailure(const QVariant &result) {
    return result.metaType() == QMetaType::fromType<ServerFailureResult>();
}

QString serverFailureText(const QVariant &result) {
    return isServerFailure(result) ? result.value<ServerFailureResult>().message : QString();
}

QVariant CheckResultServ(const QVariant &result, bool stop, int) {
    if (!isServerFailure(result))
        return result;
    MensErro(serverFailureText(result), stop);
    return {};
}
