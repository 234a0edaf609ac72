#include "host/filterscreenshot.h"

#include "framework/session/norvela.h"
#include "framework/session/packageloader.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLibrary>
#include <QTabWidget>
#include <QTimer>

namespace {

using FilterEntry = void (*)(const QString &mode);

// Saves every page of the modal dialog on screen and closes it.
bool savePagesOf(QDialog *dialog, const QString &file) {
    auto *pages = dialog->findChild<QTabWidget *>();
    if (!pages)
        return false;
    const QString base = file.endsWith(QLatin1String(".png")) ? file.chopped(4) : file;
    bool saved = true;
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        saved =
            dialog->grab().save(QStringLiteral("%1-filtro-%2.png").arg(base).arg(page + 1), "PNG") && saved;
    }
    pages->setCurrentIndex(0);
    dialog->reject();
    return saved;
}

} // namespace

bool saveFilterPages(const QString &file) {
    const QString code = QStringLiteral("PAG00800");
    Norvela::packageEntry(code);
    QLibrary package(QDir(Norvela::packagesPath()).filePath(Norvela::packageFileName(code)));
    const auto entry = reinterpret_cast<FilterEntry>(package.resolve("CriaFiltroRecContPagar"));
    if (!entry)
        return false;
    bool saved = false;
    QTimer::singleShot(0, [&saved, file] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            saved = savePagesOf(dialog, file);
    });
    entry(QStringLiteral("BOTAO_FILTRO"));
    return saved;
}
