#include "framework/ui/controls/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget *parent)
    : QGroupBox(parent)
    , buttons(new QButtonGroup(this)) {
    new QVBoxLayout(this);
    connect(buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

TRadioGroup::TRadioGroup(const QString &objectName, const QString &caption, QWidget *parent)
    : TRadioGroup(parent) {
    setObjectName(objectName);
    setTitle(caption);
}

void TRadioGroup::setItems(const QStringList &items) {
    for (QAbstractButton *old : buttons->buttons())
        delete old;
    itemTexts = items;
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items[i], this);
        radio->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
        buttons->addButton(radio, i);
        layout()->addWidget(radio);
    }
}

int TRadioGroup::ItemIndex() const {
    return buttons->checkedId();
}

void TRadioGroup::setItemIndex(int index) {
    if (QRadioButton *radio = button(index)) {
        radio->setChecked(true);
        return;
    }
    if (QAbstractButton *checked = buttons->checkedButton()) {
        buttons->setExclusive(false);
        checked->setChecked(false);
        buttons->setExclusive(true);
        emit itemIndexChanged(-1);
    }
}

QRadioButton *TRadioGroup::button(int index) const {
    return qobject_cast<QRadioButton *>(buttons->button(index));
}
