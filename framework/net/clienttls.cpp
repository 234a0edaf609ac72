#include "framework/net/clienttls.h"

#include "framework/net/neterror.h"

#include <QCoreApplication>
#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("NetTls", text);
}

QList<QSslCertificate> trustedAuthorities(const QString &caFile) {
    QFile file(caFile);
    if (!file.open(QIODevice::ReadOnly))
        throw NetError(tr("O arquivo de autoridades certificadoras %1 não pôde ser lido: %2.")
                           .arg(caFile, file.errorString()));
    const QList<QSslCertificate> authorities = QSslCertificate::fromData(file.readAll(), QSsl::Pem);
    if (authorities.isEmpty())
        throw NetError(
            tr("O arquivo de autoridades certificadoras %1 não contém certificados PEM.").arg(caFile));
    return authorities;
}

// What went wrong with the server's certificate, for the user; the first error that says most wins.
QString certificateProblem(const QList<QSslError> &errors, const QString &peerName) {
    for (const QSslError &error : errors) {
        if (error.error() == QSslError::HostNameMismatch)
            return tr("o certificado do servidor não é para o nome \"%1\"; conecte-se pelo nome que consta "
                      "no certificado")
                .arg(peerName);
    }
    for (const QSslError &error : errors) {
        switch (error.error()) {
        case QSslError::CertificateExpired:
            return tr("o certificado do servidor está vencido");
        case QSslError::CertificateNotYetValid:
            return tr("o certificado do servidor ainda não é válido; verifique também o relógio deste "
                      "computador");
        case QSslError::CertificateRevoked:
            return tr("o certificado do servidor foi revogado");
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToGetIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
            return tr("o certificado do servidor não foi emitido por uma autoridade em que este computador "
                      "confia; verifique o arquivo de autoridades certificadoras configurado");
        default:
            break;
        }
    }
    return tr("o certificado do servidor não pôde ser verificado");
}

QString handshakeProblem(const QSslSocket &socket, const QString &host) {
    if (!socket.sslHandshakeErrors().isEmpty())
        return certificateProblem(socket.sslHandshakeErrors(), host);
    if (socket.error() == QAbstractSocket::SocketTimeoutError)
        return tr("o servidor não concluiu a negociação segura a tempo");
    return tr("o servidor não respondeu com uma conexão segura (TLS); ele pode ter sido iniciado sem "
              "certificado");
}

} // namespace

std::unique_ptr<QTcpSocket> clientSocket(const NetTls &tls) {
    if (!tls.enabled)
        return std::make_unique<QTcpSocket>();
    if (!QSslSocket::supportsSsl())
        throw NetError(tr("Este computador não tem suporte a conexões seguras (TLS): falta a biblioteca "
                          "libssl ou o plugin TLS do Qt."));
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!tls.caFile.isEmpty())
        configuration.setCaCertificates(trustedAuthorities(tls.caFile));
    auto socket = std::make_unique<QSslSocket>();
    socket->setSslConfiguration(configuration);
    return socket;
}

QString secureConnection(QTcpSocket &socket, const QString &host, quint16 port, int timeoutMs) {
    auto *secure = qobject_cast<QSslSocket *>(&socket);
    if (!secure)
        return {};
    secure->startClientEncryption();
    if (secure->waitForEncrypted(timeoutMs))
        return {};
    return tr("Conexão segura com o servidor de aplicação em %1:%2 recusada: %3. A senha não foi enviada.")
        .arg(host)
        .arg(port)
        .arg(handshakeProblem(*secure, host));
}
