#include "appserver/server/servertls.h"

#include "appserver/server/serverlog.h"
#include "appserver/server/serversettings.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

namespace {

template <typename T, void (*Free)(T *)> struct Freer {
    void operator()(T *p) const { Free(p); }
};
using Bio = std::unique_ptr<BIO, Freer<BIO, BIO_free_all>>;
using Certificate = std::unique_ptr<X509, Freer<X509, X509_free>>;
using PrivateKey = std::unique_ptr<EVP_PKEY, Freer<EVP_PKEY, EVP_PKEY_free>>;

QByteArray readFile(const QString &path, const char *what) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SettingsError(QStringLiteral("cannot read the TLS %1 file %2: %3")
                                .arg(QLatin1StringView(what), path, file.errorString()));
    return file.readAll();
}

Bio memoryBio(const QByteArray &bytes) {
    return Bio(BIO_new_mem_buf(bytes.constData(), int(bytes.size())));
}

// A key protected by a passphrase is not read: the server starts unattended, with nobody to type it.
int noPassphrase(char *, int, int, void *) {
    return -1;
}

QSsl::KeyAlgorithm algorithmOf(const EVP_PKEY *key, const QString &keyFile) {
    switch (EVP_PKEY_base_id(key)) {
    case EVP_PKEY_RSA:
        return QSsl::Rsa;
    case EVP_PKEY_EC:
        return QSsl::Ec;
    default:
        throw SettingsError(QStringLiteral("the TLS key in %1 is neither an RSA nor an EC key").arg(keyFile));
    }
}

// Reads the key and makes sure it belongs to the first certificate: a mismatch would otherwise only show
// as every client's handshake failing.
QSslKey matchingKey(const QByteArray &certificatePem, const QString &certificateFile,
                    const QString &keyFile) {
    const QByteArray keyPem = readFile(keyFile, "key");
    const PrivateKey key(PEM_read_bio_PrivateKey(memoryBio(keyPem).get(), nullptr, noPassphrase, nullptr));
    if (!key)
        throw SettingsError(
            QStringLiteral("no private key in %1 (a PEM key not protected by a passphrase is needed)")
                .arg(keyFile));
    const Certificate certificate(
        PEM_read_bio_X509(memoryBio(certificatePem).get(), nullptr, nullptr, nullptr));
    if (!certificate || X509_check_private_key(certificate.get(), key.get()) != 1)
        throw SettingsError(QStringLiteral("the TLS key in %1 is not the key of the certificate in %2")
                                .arg(keyFile, certificateFile));
    QSslKey sslKey(keyPem, algorithmOf(key.get(), keyFile), QSsl::Pem, QSsl::PrivateKey);
    if (sslKey.isNull())
        throw SettingsError(QStringLiteral("the TLS key in %1 cannot be used").arg(keyFile));
    return sslKey;
}

void warnWhenNotValidNow(const QSslCertificate &certificate, const QString &certificateFile) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (now < certificate.effectiveDate() || now > certificate.expiryDate())
        qCWarning(lcServer).noquote()
            << QStringLiteral("the TLS certificate in %1 is valid only from %2 to %3: clients will refuse it")
                   .arg(certificateFile, certificate.effectiveDate().toString(Qt::ISODate),
                        certificate.expiryDate().toString(Qt::ISODate));
}

void closeOnFailedHandshake(QSslSocket *socket, int connectionId) {
    QObject::connect(socket, &QSslSocket::errorOccurred, socket, [socket, connectionId] {
        if (socket->isEncrypted())
            return;
        qCInfo(lcServer).noquote() << QStringLiteral("conn=%1 closing: TLS handshake failed (%2)")
                                          .arg(connectionId)
                                          .arg(socket->errorString());
        socket->abort();
    });
}

} // namespace

QSslConfiguration serverTlsConfiguration(const QString &certificateFile, const QString &keyFile) {
    if (!QSslSocket::supportsSsl())
        throw SettingsError(QStringLiteral("TLS is not available: Qt's TLS plugin or libssl is missing"));
    const QByteArray certificatePem = readFile(certificateFile, "certificate");
    const QList<QSslCertificate> chain = QSslCertificate::fromData(certificatePem, QSsl::Pem);
    if (chain.isEmpty())
        throw SettingsError(QStringLiteral("no PEM certificate in %1").arg(certificateFile));
    const QSslKey key = matchingKey(certificatePem, certificateFile, keyFile);
    warnWhenNotValidNow(chain.constFirst(), certificateFile);
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

QTcpSocket *acceptSocket(qintptr descriptor, const std::optional<QSslConfiguration> &tls, int connectionId,
                         QObject *parent) {
    QTcpSocket *socket = tls ? new QSslSocket(parent) : new QTcpSocket(parent);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return nullptr;
    }
    if (auto *secure = qobject_cast<QSslSocket *>(socket)) {
        secure->setSslConfiguration(*tls);
        closeOnFailedHandshake(secure, connectionId);
        secure->startServerEncryption();
    }
    return socket;
}

bool canSend(const QTcpSocket &socket) {
    const auto *secure = qobject_cast<const QSslSocket *>(&socket);
    return !secure || secure->isEncrypted();
}

qint64 unsentBytes(const QTcpSocket &socket) {
    const auto *secure = qobject_cast<const QSslSocket *>(&socket);
    return socket.bytesToWrite() + (secure ? secure->encryptedBytesToWrite() : 0);
}

void whenBytesSent(QTcpSocket *socket, QObject *context, const std::function<void()> &sent) {
    if (auto *secure = qobject_cast<QSslSocket *>(socket))
        QObject::connect(secure, &QSslSocket::encryptedBytesWritten, context, sent);
    else
        QObject::connect(socket, &QTcpSocket::bytesWritten, context, sent);
}
