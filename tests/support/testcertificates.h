#pragma once

#include "framework/net/clienttls.h"

#include <QStringList>
#include <QTemporaryDir>

// Certificates made afresh by the openssl command in a temporary folder: an authority, the server's
// certificate it signed for 127.0.0.1 (and no host name) with its key, and a second authority with a
// key of its own that signed nothing the server uses. Throws std::runtime_error when openssl fails.
class TestCertificates {
public:
    TestCertificates();

    QString caFile() const { return path("ca.pem"); }
    QString otherCaFile() const { return path("other-ca.pem"); }
    QString serverCertificateFile() const { return path("server.pem"); }
    QString serverKeyFile() const { return path("server.key"); }
    // A valid key that is not the server certificate's.
    QString otherKeyFile() const { return path("other-ca.key"); }

    // The pagserver options that make it speak TLS with the server's certificate.
    QStringList serverArguments() const;
    // A client that trusts the authority that signed the server's certificate, and no other.
    NetTls clientTls() const { return {true, caFile()}; }

    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private:
    void openssl(const QStringList &arguments) const;
    void makeAuthority(const char *name, const char *commonName) const;

    QTemporaryDir m_dir;
};
