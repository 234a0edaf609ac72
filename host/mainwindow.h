#pragma once

#include <QMainWindow>

class QLabel;
class QMdiArea;

// The host's main window: package screens open as child windows of its MDI area, the "Telas"
// menu opens a screen by its code, and the status line shows operator, database and server.
// Its geometry is remembered between runs (windowSettings).
class HostMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HostMainWindow(QWidget *parent = nullptr);
    ~HostMainWindow() override;

    QMdiArea *mdiArea() const { return mdiTelas; }
    // Loads the package of `code` and opens its screen; failures are shown to the user.
    void openScreen(const QString &code);
    // Rewrites the status line from the session.
    void refreshStatus();
    // True while a screen is open in the window.
    bool hasOpenScreen() const;
    // Shows the window where the user left it, maximized the first time.
    void showAsLeft();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void buildStatusLine();
    void askScreenCode();

    QMdiArea *mdiTelas;
    QLabel *lblOperador;
    QLabel *lblBanco;
    QLabel *lblServidor;
};
