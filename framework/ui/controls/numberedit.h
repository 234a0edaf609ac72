#pragma once

#include "framework/ui/controls/maskedit.h"

// A number entry in Brazilian notation ("1.234,56"): Decimals digits after the comma, thousands
// separators when Thousands is set. An empty entry is the number 0. The text is brought to that
// form when the entry loses the focus.
class TNumberEdit : public MaskedEdit {
    Q_OBJECT
public:
    explicit TNumberEdit(QWidget *parent = nullptr);
    TNumberEdit(const QString &objectName, QWidget *parent);

    void setDecimals(int decimals) { decimalCount = decimals; }
    int decimals() const { return decimalCount; }
    void setThousands(bool on) { thousandsShown = on; }
    bool thousands() const { return thousandsShown; }

    double GetNumber() const;
    void SetNumber(double value);

    // The number of a text in this notation; 0 for an empty or unreadable text.
    static double parse(const QString &text);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString format(double value) const;

    int decimalCount = 2;
    bool thousandsShown = false;
};
