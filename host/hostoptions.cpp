#include "host/hostoptions.h"

#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/session/packageloader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>
#include <stdexcept>

namespace {

[[noreturn]] void refuse(const QString &message) {
    throw std::invalid_argument(message.toStdString());
}

int portFrom(const QString &text) {
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        refuse(QStringLiteral("Porta do servidor inválida: \"%1\".").arg(text));
    return port;
}

// "HOST:PORT", "HOST" or "[IPv6]:PORT".
void readServer(const QString &text, HostOptions &options) {
    const QUrl url(QStringLiteral("tcp://") + text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.path().isEmpty() || url.port() == 0)
        refuse(QStringLiteral("Servidor inválido: \"%1\". Use SERVIDOR:PORTA.").arg(text));
    options.serverHost = url.host();
    options.serverPort = url.port(options.serverPort);
}

// The authorities file must be there at start, rather than fail every connection later.
void readTlsCa(const QString &file, HostOptions &options) {
    if (!QFileInfo::exists(file))
        refuse(QStringLiteral("Arquivo de autoridades certificadoras não encontrado: %1").arg(file));
    options.serverTls = true;
    options.serverTlsCa = file;
}

QString configFile(const QCommandLineParser &parser, const QCommandLineOption &config) {
    if (parser.isSet(config)) {
        const QString file = parser.value(config);
        if (!QFileInfo::exists(file))
            refuse(QStringLiteral("Arquivo de configuração não encontrado: %1").arg(file));
        return file;
    }
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("paghost.ini"));
    return QFileInfo::exists(beside) ? beside : QString();
}

void readConfig(const QString &file, HostOptions &options) {
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        refuse(QStringLiteral("Arquivo de configuração ilegível: %1").arg(file));
    options.serverHost = settings.value(QStringLiteral("server/host"), options.serverHost).toString();
    if (settings.contains(QStringLiteral("server/port")))
        options.serverPort = portFrom(settings.value(QStringLiteral("server/port")).toString());
    options.serverTls = settings.value(QStringLiteral("server/tls"), false).toBool();
    if (settings.contains(QStringLiteral("server/tls-ca")))
        readTlsCa(settings.value(QStringLiteral("server/tls-ca")).toString(), options);
    options.databaseUrl = settings.value(QStringLiteral("database/url")).toString();
    options.filiProc = settings.value(QStringLiteral("session/branch")).toString();
    options.packagesPath = settings.value(QStringLiteral("session/packages")).toString();
}

} // namespace

HostOptions readHostOptions(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Aplicação hospedeira das telas de Contas a Pagar."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Mostra esta ajuda."));
    const QCommandLineOption config(QStringLiteral("config"),
                                    QStringLiteral("Arquivo de configuração (ini)."),
                                    QStringLiteral("ARQUIVO"));
    const QCommandLineOption server(QStringLiteral("server"), QStringLiteral("Servidor de aplicação."),
                                    QStringLiteral("SERVIDOR:PORTA"));
    const QCommandLineOption tls(QStringLiteral("tls"),
                                 QStringLiteral("Conexão segura (TLS) com o servidor de aplicação."));
    const QCommandLineOption tlsCa(
        QStringLiteral("tls-ca"),
        QStringLiteral(
            "Autoridades certificadoras (PEM) em que confiar em vez das do sistema; implica --tls."),
        QStringLiteral("ARQUIVO"));
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("Banco de dados: sqlite:/arquivo ou postgresql://..."),
                                      QStringLiteral("URL"));
    const QCommandLineOption branch(QStringLiteral("branch"), QStringLiteral("Filial de processamento."),
                                    QStringLiteral("FILIAL"));
    const QCommandLineOption packages(QStringLiteral("packages"), QStringLiteral("Pasta dos pacotes."),
                                      QStringLiteral("PASTA"));
    const QCommandLineOption operador(QStringLiteral("operator"), QStringLiteral("Operador."),
                                      QStringLiteral("OPERADOR"));
    const QCommandLineOption password(QStringLiteral("password"),
                                      QStringLiteral("Senha (execuções automáticas)."),
                                      QStringLiteral("SENHA"));
    const QCommandLineOption open(QStringLiteral("open"), QStringLiteral("Tela aberta ao iniciar."),
                                  QStringLiteral("CODIGO"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Salva a janela principal em PNG e encerra."),
                                        QStringLiteral("ARQUIVO"));
    parser.addOptions(
        {help, config, server, tls, tlsCa, database, branch, packages, operador, password, open, screenshot});
    const QCommandLineOption previewRun(
        QStringLiteral("preview-failed-run"),
        QStringLiteral("Abre a prévia da contabilização de um recálculo recusado (dados de demonstração)."),
        QStringLiteral("EMPRESA"));
    parser.addOption(previewRun);
    const QCommandLineOption screenshotFilter(
        QStringLiteral("screenshot-filter"),
        QStringLiteral(
            "Com --screenshot, salva também as páginas do filtro PAG00801 (ARQUIVO-filtro-N.png)."));
    parser.addOption(screenshotFilter);
    if (!parser.parse(arguments))
        refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        refuse(QStringLiteral("Argumento desconhecido: %1").arg(parser.positionalArguments().first()));

    HostOptions options;
    options.help = parser.isSet(help);
    options.helpText = parser.helpText();
    if (const QString file = configFile(parser, config); !file.isEmpty())
        readConfig(file, options);
    if (parser.isSet(server))
        readServer(parser.value(server), options);
    if (parser.isSet(tls))
        options.serverTls = true;
    if (parser.isSet(tlsCa))
        readTlsCa(parser.value(tlsCa), options);
    if (parser.isSet(database))
        options.databaseUrl = parser.value(database);
    if (parser.isSet(branch))
        options.filiProc = parser.value(branch);
    if (parser.isSet(packages))
        options.packagesPath = parser.value(packages);
    options.operador = parser.value(operador);
    options.password = parser.value(password);
    options.openCode = parser.value(open);
    options.screenshotFile = parser.value(screenshot);
    options.previewRunCompany = parser.value(previewRun);
    options.screenshotFilter = parser.isSet(screenshotFilter);
    return options;
}

void applyToSession(const HostOptions &options) {
    Norvela::setWebURL(options.serverHost);
    Norvela::setWebPort(options.serverPort);
    TNetConnection::setDefaultTls({options.serverTls, options.serverTlsCa});
    Norvela::setFiliProc(options.filiProc);
    if (!options.packagesPath.isEmpty())
        Norvela::setPackagesPath(options.packagesPath);
}
