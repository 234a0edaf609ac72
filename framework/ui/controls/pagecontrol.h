#pragma once

#include <QTabWidget>

// A page of a PageControl; disabling the page disables its tab as well.
class TabPage : public QWidget {
    Q_OBJECT
public:
    TabPage(const QString &objectName, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;
};

// Tabbed pages with an active page.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(const QString &objectName, QWidget *parent = nullptr);

    void addPage(TabPage *page, const QString &caption);
    QWidget *ActivePage() const { return currentWidget(); }
    void setActivePage(QWidget *page) { setCurrentWidget(page); }
};

// Key sequence of a shortcut value: low byte a key code, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt
// (16460 is Ctrl+L).
QKeySequence shortcutOf(int value);
