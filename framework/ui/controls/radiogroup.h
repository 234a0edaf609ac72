#pragma once

#include <QGroupBox>

class QButtonGroup;
class QRadioButton;

// A framed group of radio buttons built from Items; ItemIndex is the checked one (-1 for none).
// itemIndexChanged is emitted for changes by the user and by code alike.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget *parent = nullptr);
    RadioGroup(const QString &objectName, const QString &caption, QWidget *parent);

    void setItems(const QStringList &items);
    QStringList Items() const { return itemTexts; }
    int ItemIndex() const;
    void setItemIndex(int index);
    QRadioButton *button(int index) const;

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup *buttons;
    QStringList itemTexts;
};
