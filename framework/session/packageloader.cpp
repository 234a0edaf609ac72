#include "framework/session/packageloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QRegularExpression>
#include <memory>

namespace Norvela {

namespace {

struct LoadedPackages {
    QString path;
    QHash<QString, IniProcFunction> entries;
    // Libraries stay loaded for the life of the process: their screens may outlive any caller.
    std::vector<std::unique_ptr<QLibrary>> libraries;
};

LoadedPackages &loaded() {
    static LoadedPackages packages;
    return packages;
}

// A screen code becomes part of a file name, so only letters and digits are accepted.
void checkCode(const QString &code) {
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9]+$"));
    if (!valid.match(code).hasMatch())
        throw PackageError(QStringLiteral("Código de tela inválido: \"%1\".").arg(code));
}

} // namespace

PackageError::PackageError(const QString &message)
    : std::runtime_error(message.toStdString()) {}

QString packagesPath() {
    if (loaded().path.isEmpty())
        return QCoreApplication::applicationDirPath();
    return loaded().path;
}

void setPackagesPath(const QString &path) {
    loaded().path = path;
}

QString packageFileName(const QString &code) {
    return QStringLiteral("lib%1.so").arg(code.toLower());
}

QStringList availablePackages() {
    // Screen codes are letters followed by digits; the framework's own libraries have no digits.
    static const QRegularExpression package(QStringLiteral("^lib([a-z]+[0-9]+)\\.so$"));
    QStringList codes;
    const QStringList files =
        QDir(packagesPath()).entryList({QStringLiteral("lib*.so")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        if (const auto match = package.match(file); match.hasMatch())
            codes << match.captured(1).toUpper();
    return codes;
}

IniProcFunction packageEntry(const QString &code) {
    checkCode(code);
    const QString key = code.toUpper();
    LoadedPackages &packages = loaded();
    if (const auto found = packages.entries.constFind(key); found != packages.entries.cend())
        return found.value();

    const QString file = QDir(packagesPath()).filePath(packageFileName(code));
    auto library = std::make_unique<QLibrary>(file);
    if (!QFileInfo::exists(file))
        throw PackageError(QStringLiteral("Pacote da tela %1 não encontrado (%2).").arg(key, file));
    if (!library->load())
        throw PackageError(QStringLiteral("Não foi possível carregar o pacote da tela %1: %2")
                               .arg(key, library->errorString()));
    auto entry = reinterpret_cast<IniProcFunction>(library->resolve("IniProc"));
    if (!entry)
        throw PackageError(
            QStringLiteral("O pacote da tela %1 não tem a rotina de entrada IniProc.").arg(key));
    packages.entries.insert(key, entry);
    packages.libraries.push_back(std::move(library));
    return entry;
}

} // namespace Norvela
