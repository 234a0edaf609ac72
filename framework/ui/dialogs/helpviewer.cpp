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

// Asked for inside a modal dialog, the viewer becomes that dialog's window: any other window would
// be blocked by the dialog, unreadable and impossible to scroll or close.
HelpViewer *HelpViewer::open(const QString &page) {
    QWidget *modal = QApplication::activeModalWidget();
    if (!viewer())
        viewer() = new HelpViewer(modal ? modal : QApplication::activeWindow());
    else if (modal && viewer()->parentWidget() != modal)
        viewer()->setParent(modal, Qt::Window);
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
