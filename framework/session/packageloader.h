#pragma once

#include <QString>
#include <QVariantList>
#include <stdexcept>

namespace Norvela {

// A package that cannot be found, loaded or entered. what() is a Portuguese message in UTF-8.
class PackageError : public std::runtime_error {
public:
    explicit PackageError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

// The entry every package exports: extern "C" void IniProc(const QVariantList &params).
using IniProcFunction = void (*)(const QVariantList &);

// Folder searched for packages; default: the folder of the running executable.
QString packagesPath();
void setPackagesPath(const QString &path);

// File name of the package that holds a screen code: "PAG00800" -> "libpag00800.so".
QString packageFileName(const QString &code);

// Screen codes of the packages present in the packages folder, in order ("CTB10200", "PAG00800").
QStringList availablePackages();

// Loads the package of `code` once (later calls reuse it) and returns its IniProc.
IniProcFunction packageEntry(const QString &code);

} // namespace Norvela
