#pragma once

#include <QWidget>

class QTextBrowser;

// The help viewer: one window (frmAjuda) that shows the help pages, HTML files with links between
// them, in its browser txbAjuda. It opens over the active window, so that it can be read and used
// beside a modal dialog, and is brought back to the front by the next help asked for.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // Shows `page` (an HTML file) in the viewer, creating it if need be.
    static HelpViewer *open(const QString &page);
    // The viewer while one exists.
    static HelpViewer *current();

    QString page() const;

private:
    explicit HelpViewer(QWidget *parent);

    QTextBrowser *txbAjuda;
};
