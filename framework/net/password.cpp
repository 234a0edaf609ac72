#include "framework/net/password.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace {

const QString scheme = QStringLiteral("pbkdf2-sha256");
// Each sign-in of a connection pays one derivation, so the count balances attack cost against
// connection time; the count is stored with each hash and can be raised without invalidating old ones.
constexpr int iterations = 25000;
constexpr int saltBytes = 16;
constexpr int hashBytes = 32;
constexpr int maxIterations = 10000000;

QByteArray derive(const QString &password, const QByteArray &salt, int rounds) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, rounds,
                                              hashBytes);
}

bool sameBytes(const QByteArray &a, const QByteArray &b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

QString hashPassword(const QString &password) {
    QByteArray salt(saltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), saltBytes / 4);
    const QByteArray hash = derive(password, salt, iterations);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(scheme)
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool verifyPassword(const QString &password, const QString &stored) {
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != scheme)
        return false;
    bool ok = false;
    const int rounds = parts[1].toInt(&ok);
    if (!ok || rounds < 1 || rounds > maxIterations)
        return false;
    const auto salt =
        QByteArray::fromBase64Encoding(parts[2].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const auto hash =
        QByteArray::fromBase64Encoding(parts[3].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !hash || hash.decoded.size() != hashBytes)
        return false;
    return sameBytes(derive(password, salt.decoded, rounds), hash.decoded);
}
