#pragma once

#include "framework/ui/controls/maskedit.h"

#include <QDate>

class QCalendarWidget;

// A date entry: dd/mm/yyyy typed (the slashes come by themselves) or picked from the calendar of
// its button ("calendarButton"). An empty entry is date 0. A text that is a valid date is shown
// in the valid-date colour (blue).
class TDateEditPlus : public MaskedEdit {
    Q_OBJECT
public:
    explicit TDateEditPlus(QWidget *parent = nullptr);
    TDateEditPlus(const QString &objectName, QWidget *parent);

    // Day count of the date in the entry; 0 when it is empty or holds no valid date.
    double GetDate() const;
    // Shows the date of a day count (its time of day dropped); 0 empties the entry.
    void SetDate(double days);
    // Shows "<text> não é uma data válida." and raises the silent abort when the entry holds
    // text that is no date; an empty entry passes.
    void CheckValidDate() const;
    void Clear() { clear(); }

    QDate date() const;
    QCalendarWidget *calendar() const { return calendarPopup; }
    void showCalendar();

private:
    void insertSlashes(const QString &text);
    void colourValidDate();

    QCalendarWidget *calendarPopup = nullptr;
};
