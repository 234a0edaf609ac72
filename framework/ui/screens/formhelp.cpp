#include "framework/ui/screens/formhelp.h"

#include "framework/ui/dialogs/helpviewer.h"
#include "framework/ui/messages/messageservice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

// The page of a context in a help file; empty when there is none.
QString helpPage(const QString &helpFile, int helpContext) {
    const QDir folder(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help")));
    if (helpFile.isEmpty() || !folder.exists(helpFile))
        return {};
    const QSettings index(folder.filePath(helpFile), QSettings::IniFormat);
    const QString page = index.value(QString::number(helpContext)).toString();
    if (page.isEmpty() || !folder.exists(page))
        return {};
    return folder.filePath(page);
}

} // namespace

void showHelp(const QString &helpFile, int helpContext) {
    const QString page = helpPage(helpFile, helpContext);
    if (page.isEmpty()) {
        MessageService::current().info(
            QStringLiteral("Não há ajuda instalada para esta tela (contexto %1).").arg(helpContext));
        return;
    }
    HelpViewer::open(page);
}
