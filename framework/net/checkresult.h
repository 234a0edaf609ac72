#pragma once

#include <QVariant>

// A failure that the server reports travels inside the result of a call as a ServerFailureResult
// held in the QVariant; every other result is the method's value.
struct ServerFailureResult {
    QString message;
};
Q_DECLARE_METATYPE(ServerFailureResult)

bool isServerFailure(const QVariant &result);
QString serverFailureText(const QVariant &result);

// Returns the value of a successful call. A server-reported failure is shown through MensErro(text,
// stop): with stop true that throws the silent abort, with stop false an invalid QVariant is returned.
QVariant CheckResultServ(const QVariant &result, bool stop, int reserved);
