#include "framework/ui/controls/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(QWidget *parent)
    : QGroupBox(parent)
    , buttons(new QButtonGroup(this)) {
    new QVBoxLayout(this);
    connect(buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

RadioGroup::RadioGroup(const QString &objectName, const QString &caption, QWidget *parent)
    : RadioGroup(parent) {
    setObjectName(objectName);
    setTitle(caption);
}

void RadioGroup::setItems(const QStringList &items) {
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

int RadioGroup::ItemIndex() const {
    return buttons->checkedId();
}

void RadioGroup::setItemIndex(int index) {
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

QRadioButton *RadioGroup::button(int index) const {
    return qobject_cast<QRadioButton *>(buttons->button(index));
}
