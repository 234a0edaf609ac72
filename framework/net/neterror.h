#pragma once

#include <QString>
#include <stdexcept>

// A failure of the transport: the server cannot be reached, refused the sign-in, the connection broke or
// a call timed out. The message is for the user (Portuguese).
class NetError : public std::runtime_error {
public:
    explicit NetError(const QString &message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Thrown by a call instead of returning the failure inside the result when ThrowException is true.
class RemoteError : public std::runtime_error {
public:
    explicit RemoteError(const QString &message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};
