#pragma once

#include <QToolButton>

// A flat tool button whose hint is its tool tip.
class TButtonFlat : public QToolButton {
    Q_OBJECT
public:
    explicit TButtonFlat(QWidget *parent = nullptr);
    TButtonFlat(const QString &objectName, const QString &hint, QWidget *parent);

    void setHint(const QString &hint) { setToolTip(hint); }
    QString hint() const { return toolTip(); }
};
