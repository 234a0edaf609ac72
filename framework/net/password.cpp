#include "framework/net/password.h"

#include <QRandomGenerator>
#include <QStringList>

#include <openssl/evp.h>

#include <algorithm>
#include <atomic>
#include <optional>

namespace {

const QString scheme = QStringLiteral("pbkdf2-sha256");
constexpr int saltBytes = 16;
constexpr int hashBytes = 32;
constexpr int minIterations = 1000;
constexpr int maxIterations = 10000000;

std::atomic<int> currentIterations = recommendedPasswordIterations;
std::atomic<quint64> derivations = 0;

QByteArray derive(const QString &password, const QByteArray &salt, int rounds) {
    ++derivations;
    const QByteArray utf8 = password.toUtf8();
    QByteArray key(hashBytes, Qt::Uninitialized);
    PKCS5_PBKDF2_HMAC(utf8.constData(), int(utf8.size()),
                      reinterpret_cast<const unsigned char *>(salt.constData()), int(salt.size()), rounds,
                      EVP_sha256(), hashBytes, reinterpret_cast<unsigned char *>(key.data()));
    return key;
}

bool sameBytes(const QByteArray &a, const QByteArray &b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

struct StoredHash {
    int rounds;
    QByteArray salt;
    QByteArray hash;
};

std::optional<StoredHash> parse(const QString &stored) {
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != scheme)
        return std::nullopt;
    bool ok = false;
    const int rounds = parts[1].toInt(&ok);
    if (!ok || rounds < 1 || rounds > maxIterations)
        return std::nullopt;
    const auto salt =
        QByteArray::fromBase64Encoding(parts[2].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const auto hash =
        QByteArray::fromBase64Encoding(parts[3].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !hash || hash.decoded.size() != hashBytes)
        return std::nullopt;
    return StoredHash{rounds, salt.decoded, hash.decoded};
}

} // namespace

int passwordIterations() {
    return currentIterations;
}

void setPasswordIterations(int iterations) {
    currentIterations = std::clamp(iterations, minIterations, maxIterations);
}

QString hashPassword(const QString &password, int iterations) {
    QByteArray salt(saltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), saltBytes / 4);
    const QByteArray hash = derive(password, salt, iterations);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(scheme)
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool verifyPassword(const QString &password, const QString &stored) {
    const std::optional<StoredHash> parsed = parse(stored);
    return parsed && sameBytes(derive(password, parsed->salt, parsed->rounds), parsed->hash);
}

void spendPasswordCheck(const QString &password) {
    derive(password, QByteArray(saltBytes, '\0'), passwordIterations());
}

bool checkSignInPassword(const QString &password, const QString &stored) {
    if (!stored.isEmpty())
        return verifyPassword(password, stored);
    spendPasswordCheck(password);
    return false;
}

bool needsRehash(const QString &stored) {
    const std::optional<StoredHash> parsed = parse(stored);
    return parsed && parsed->rounds < passwordIterations();
}

quint64 passwordDerivations() {
    return derivations;
}
