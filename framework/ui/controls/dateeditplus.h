#pragma once

#include "framework/ui/controls/maskedit.h"

#include <QColor>
#include <QDate>
#include <QStringList>

class QCalendarWidget;

// A date entry: dd/mm/yyyy typed (the slashes come by themselves) or picked from the calendar of
// its button ("calendarButton"). An empty entry is date 0. A text that is a valid date is shown
// in ValidDateColor (blue unless set), with the name of its week day (DayNames, Sunday first) as
// the entry's tool tip. With SaveTime the time of day given to SetDate comes back from GetDate;
// without it (the default) the entry holds whole days.
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

    void setSaveTime(bool on) { saveTime = on; }
    bool SaveTime() const { return saveTime; }
    void setValidDateColor(const QColor &colour);
    QColor ValidDateColor() const { return validColour; }
    // Seven names, Sunday first.
    void setDayNames(const QStringList &names);
    QStringList DayNames() const { return dayNames; }

    QDate date() const;
    QCalendarWidget *calendar() const { return calendarPopup; }
    void showCalendar();

    // Wide enough for a whole date beside the calendar button.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    void insertSlashes(const QString &text);
    void colourValidDate();

    QCalendarWidget *calendarPopup = nullptr;
    bool saveTime = false;
    double timeOfDay = 0;
    QColor validColour = Qt::blue;
    QStringList dayNames;
};
