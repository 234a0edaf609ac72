#include "framework/ui/controls/pagecontrol.h"

#include <QEvent>
#include <QKeySequence>
#include <QTabBar>

TabPage::TabPage(const QString &objectName, QWidget *parent)
    : QWidget(parent) {
    setObjectName(objectName);
}

void TabPage::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange)
        return;
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *pages = qobject_cast<QTabWidget *>(w)) {
            const int index = pages->indexOf(this);
            if (index >= 0)
                pages->tabBar()->setTabEnabled(index, isEnabled());
            return;
        }
    }
}

PageControl::PageControl(const QString &objectName, QWidget *parent)
    : QTabWidget(parent) {
    setObjectName(objectName);
}

void PageControl::addPage(TabPage *page, const QString &caption) {
    const int index = addTab(page, caption);
    tabBar()->setTabEnabled(index, page->isEnabled());
}

QKeySequence shortcutOf(int value) {
    int key = value & 0xff;
    if (value & 0x2000)
        key |= Qt::SHIFT;
    if (value & 0x4000)
        key |= Qt::CTRL;
    if (value & 0x8000)
        key |= Qt::ALT;
    return QKeySequence(key);
}
