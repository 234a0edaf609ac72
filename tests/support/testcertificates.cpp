#include "tests/support/testcertificates.h"

#include <QFile>
#include <QProcess>

#include <stdexcept>

namespace {

// EC keys: made in milliseconds, where RSA keys would take a good part of a second each.
const QStringList newKey{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                         QStringLiteral("ec_paramgen_curve:P-256"), QStringLiteral("-nodes")};

} // namespace

TestCertificates::TestCertificates() {
    makeAuthority("ca", "Autoridade de teste");
    makeAuthority("other-ca", "Outra autoridade");
    openssl(QStringList{QStringLiteral("req")} + newKey +
            QStringList{QStringLiteral("-keyout"), serverKeyFile(), QStringLiteral("-out"),
                        path("server.csr"), QStringLiteral("-subj"),
                        QStringLiteral("/CN=servidor de teste")});
    QFile extensions(path("server.ext"));
    if (!extensions.open(QIODevice::WriteOnly) ||
        extensions.write("subjectAltName=IP:127.0.0.1\nextendedKeyUsage=serverAuth\n") < 0)
        throw std::runtime_error("cannot write the certificate extensions");
    extensions.close();
    openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), path("server.csr"),
             QStringLiteral("-CA"), caFile(), QStringLiteral("-CAkey"), path("ca.key"),
             QStringLiteral("-CAcreateserial"), QStringLiteral("-days"), QStringLiteral("30"),
             QStringLiteral("-extfile"), path("server.ext"), QStringLiteral("-out"),
             serverCertificateFile()});
}

void TestCertificates::makeAuthority(const char *name, const char *commonName) const {
    const QString base = QString::fromLatin1(name);
    openssl(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + newKey +
            QStringList{QStringLiteral("-keyout"), m_dir.filePath(base + QStringLiteral(".key")),
                        QStringLiteral("-out"), m_dir.filePath(base + QStringLiteral(".pem")),
                        QStringLiteral("-days"), QStringLiteral("30"), QStringLiteral("-subj"),
                        QStringLiteral("/CN=") + QString::fromUtf8(commonName)});
}

void TestCertificates::openssl(const QStringList &arguments) const {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error("openssl " + arguments.join(QLatin1Char(' ')).toStdString() + " failed: " +
                                 process.readAll().toStdString() + process.errorString().toStdString());
}

QStringList TestCertificates::serverArguments() const {
    return {QStringLiteral("--tls-cert"), serverCertificateFile(), QStringLiteral("--tls-key"),
            serverKeyFile()};
}
