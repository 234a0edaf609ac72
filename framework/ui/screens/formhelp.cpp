#include "framework/ui/screens/formhelp.h"

#include "framework/ui/messages/messageservice.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

void showHelp(const QString &helpFile, int helpContext) {
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(helpFile);
    if (!helpFile.isEmpty() && QFileInfo::exists(path)) {
        QUrl url = QUrl::fromLocalFile(path);
        url.setFragment(QString::number(helpContext));
        if (QDesktopServices::openUrl(url))
            return;
    }
    MessageService::current().info(QStringLiteral("Ajuda: contexto %1").arg(helpContext));
}
