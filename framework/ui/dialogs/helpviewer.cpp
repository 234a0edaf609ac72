#include "framework/ui/dialogs/helpviewer.h"

#include <QApplication>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPointer<HelpViewer> &viewer() {
    static QPointer<HelpViewer> instance;
    return instance;
}

} // namespace

HelpViewer::HelpViewer(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , txbAjuda(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("frmAjuda"));
    setAttribute(Qt::WA_DeleteOnClose);
    txbAjuda->setObjectName(QStringLiteral("txbAjuda"));
    txbAjuda->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txbAjuda);
    resize(640, 560);
    connect(txbAjuda, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(QStringLiteral("Ajuda - %1").arg(txbAjuda->documentTitle())); });
}

HelpViewer *HelpViewer::open(const QString &page) {
    if (!viewer()) {
        QWidget *over = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                          : QApplication::activeWindow();
        viewer() = new HelpViewer(over);
    }
    viewer()->txbAjuda->setSource(QUrl::fromLocalFile(page));
    viewer()->show();
    viewer()->raise();
    viewer()->activateWindow();
    return viewer();
}

HelpViewer *HelpViewer::current() {
    return viewer();
}

QString HelpViewer::page() const {
    return txbAjuda->source().toLocalFile();
}
