#include "framework/ui/controls/dateeditplus.h"

#include "framework/core/abort.h"
#include "framework/core/tdatetime.h"
#include "framework/ui/messages/guard.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QStyle>

namespace {

const QString dateFormat = QStringLiteral("dd/MM/yyyy");

} // namespace

TDateEditPlus::TDateEditPlus(QWidget *parent)
    : MaskedEdit(parent) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}(/[0-9]{0,2}(/[0-9]{0,4})?)?")), this));
    QAction *button =
        addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), QLineEdit::TrailingPosition);
    button->setObjectName(QStringLiteral("calendarButton"));
    connect(button, &QAction::triggered, this, guarded([this] { showCalendar(); }));
    connect(this, &QLineEdit::textEdited, this,
            guarded([this](const QString &text) { insertSlashes(text); }));
    connect(this, &QLineEdit::textChanged, this, [this] { colourValidDate(); });
}

TDateEditPlus::TDateEditPlus(const QString &objectName, QWidget *parent)
    : TDateEditPlus(parent) {
    setObjectName(objectName);
}

QDate TDateEditPlus::date() const {
    return QDate::fromString(text().trimmed(), dateFormat);
}

double TDateEditPlus::GetDate() const {
    const double days = toDays(date());
    return days != 0 && saveTime ? days + timeOfDay : days;
}

void TDateEditPlus::SetDate(double days) {
    const QDate day = toDate(days);
    setText(day.isValid() ? day.toString(dateFormat) : QString());
    timeOfDay = day.isValid() ? days - toDays(day) : 0;
}

QSize TDateEditPlus::minimumSizeHint() const {
    QSize size = MaskedEdit::minimumSizeHint();
    const int text = fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000"));
    const int button = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this) + 8;
    size.setWidth(qMax(size.width(), text + button + 8));
    return size;
}

QSize TDateEditPlus::sizeHint() const {
    return MaskedEdit::sizeHint().expandedTo(minimumSizeHint());
}

void TDateEditPlus::setValidDateColor(const QColor &colour) {
    validColour = colour;
    colourValidDate();
}

void TDateEditPlus::setDayNames(const QStringList &names) {
    dayNames = names;
    colourValidDate();
}

void TDateEditPlus::CheckValidDate() const {
    if (text().trimmed().isEmpty() || date().isValid())
        return;
    MensErro(QStringLiteral("%1 não é uma data válida.").arg(text()), true);
}

void TDateEditPlus::showCalendar() {
    if (!calendarPopup) {
        calendarPopup = new QCalendarWidget(this);
        calendarPopup->setObjectName(QStringLiteral("calendarPopup"));
        calendarPopup->setWindowFlags(Qt::Popup);
        calendarPopup->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
        connect(calendarPopup, &QCalendarWidget::clicked, this, [this](QDate day) {
            setText(day.toString(dateFormat));
            calendarPopup->hide();
            setFocus(Qt::PopupFocusReason);
        });
    }
    calendarPopup->setSelectedDate(date().isValid() ? date() : QDate::currentDate());
    calendarPopup->move(mapToGlobal(QPoint(0, height())));
    calendarPopup->show();
}

// Adds the slash after the day and the month as the user types digits at the end.
void TDateEditPlus::insertSlashes(const QString &text) {
    if (cursorPosition() != text.size())
        return;
    if (text.size() == 2 || text.size() == 5) {
        if (text.count(QLatin1Char('/')) == text.size() / 3)
            setText(text + QLatin1Char('/'));
    }
}

void TDateEditPlus::colourValidDate() {
    const QDate day = date();
    QPalette colours = palette();
    colours.setColor(QPalette::Text,
                     day.isValid() ? validColour : QApplication::palette(this).color(QPalette::Text));
    setPalette(colours);
    // Qt counts the week from Monday (1) to Sunday (7).
    const bool named = day.isValid() && dayNames.size() == 7;
    setToolTip(named ? dayNames.at(day.dayOfWeek() % 7) : QString());
}
