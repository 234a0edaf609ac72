#pragma once

#include "framework/ui/controls/keyfilter.h"

#include <QLineEdit>

// A text entry with an optional edit mask of the form "mask;saveLiterals;blank": in the mask '9'
// is an optional digit, '0' a required digit, 'L'/'l' a required/optional letter, 'A'/'a' a
// required/optional letter or digit, other characters are literals. "99;0; " takes up to two digits.
// text() holds the typed characters and the literals between them, without blanks, whatever the
// save-literals field says. Setting text() with too many characters keeps the first ones.
class MaskedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedEdit(QWidget *parent = nullptr);
    MaskedEdit(const QString &objectName, QWidget *parent);

    void setEditMask(const QString &editMask);
    QString editMask() const { return mask; }
    void setOnKeyPress(KeyPressHandler handler) { onKeyPress = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString mask;
    KeyPressHandler onKeyPress;
};

// Qt's input mask for an edit mask of MaskedEdit's form.
QString inputMaskOf(const QString &editMask);
