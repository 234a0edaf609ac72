#include "framework/core/abort.h"
#include "framework/core/messages.h"
#include "framework/core/money.h"
#include "framework/core/routines.h"
#include "framework/core/tdatetime.h"
#include "qtprinters.h"

#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

TEST(DateTime, DayCountsMatchTheCalendar) {
    EXPECT_EQ(toDays(QDate(2026, 3, 15)), 46096);
    EXPECT_EQ(toDate(46096), QDate(2026, 3, 15));
    EXPECT_EQ(toDays(QDate(1900, 3, 1)), 61);
    EXPECT_EQ(toDays(QDate()), 0);
    EXPECT_TRUE(toDate(0).isNull());
    EXPECT_FALSE(toDateTime(0).isValid());
    EXPECT_EQ(today(), toDays(QDate::currentDate()));
}

TEST(DateTime, TimesOfDayRoundTripToTheMillisecond) {
    const QDateTime noon(QDate(2026, 3, 15), QTime(12, 0));
    EXPECT_DOUBLE_EQ(toDays(noon), 46096.5);
    for (const QTime time : {QTime(0, 0, 0, 1), QTime(6, 30, 15, 250), QTime(23, 59, 59, 999)}) {
        const QDateTime moment = toDateTime(toDays(QDateTime(QDate(2026, 3, 15), time)));
        EXPECT_EQ(moment.date(), QDate(2026, 3, 15));
        EXPECT_EQ(moment.time(), time) << time.toString().toStdString();
    }
    // Before the epoch the fraction still counts forward from midnight.
    EXPECT_EQ(toDateTime(-1.25).time(), QTime(6, 0));
    EXPECT_EQ(toDateTime(-1.25).date(), QDate(1899, 12, 29));
    EXPECT_DOUBLE_EQ(toDays(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_FALSE(toDateTime(1e300).isValid());
    EXPECT_FALSE(toDateTime(std::nan("")).isValid());
}

TEST(DateTime, DatesSurviveALocalMidnightThatDidNotExist) {
    // São Paulo skipped from 00:00 to 01:00 on 4 November 2018.
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "America/Sao_Paulo");
    tzset();
    const double days = toDays(QDate(2018, 11, 4));
    EXPECT_TRUE(toDateTime(days).isValid());
    EXPECT_EQ(toDays(toDateTime(days)), days);
    EXPECT_EQ(formatShortDate(days), "04/11/2018");
    if (previous.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", previous);
    tzset();
}

TEST(Money, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(toCents(2.675), 268);
    EXPECT_EQ(toCents(-2.675), -268);
    EXPECT_EQ(toCents(1.005), 101);
    EXPECT_EQ(toCents(0.1 + 0.2), 30);
    EXPECT_EQ(toCents(1234567.894), 123456789);
    EXPECT_EQ(toCents(0.004), 0);
    EXPECT_EQ(toCents(1e-9), 0);
    // The exponent is read from the converted characters only, whatever a longer earlier
    // conversion left behind in the buffer.
    EXPECT_EQ(toCents(95.004), 9500);
    EXPECT_EQ(toCents(123456.785), 12345679);
    EXPECT_EQ(toCents(123456789012.345), 12345678901235);
    EXPECT_DOUBLE_EQ(fromCents(268), 2.68);
    EXPECT_DOUBLE_EQ(RoundDec(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(RoundDec(-0.125, 2), -0.13);
    EXPECT_DOUBLE_EQ(RoundDec(10.0, 2), 10.0);
    EXPECT_DOUBLE_EQ(RoundDec(0.5, 0), 1.0);
}

TEST(Formats, MoneyAndDatesInBrazilianNotation) {
    EXPECT_EQ(formatMoney(1234.56), "1.234,56");
    EXPECT_EQ(formatMoney(-1234567.5), "-1.234.567,50");
    EXPECT_EQ(formatMoney(2.675), "2,68");
    EXPECT_EQ(formatMoney(-0.001), "0,00");
    EXPECT_EQ(formatShortDate(46096), "15/03/2026");
    EXPECT_EQ(formatShortDate(46096.75), "15/03/2026");
    EXPECT_EQ(formatShortDate(0), "");
}

TEST(Routines, EmptyStringAndAjusta) {
    EXPECT_TRUE(EmptyString(""));
    EXPECT_TRUE(EmptyString("   "));
    EXPECT_TRUE(EmptyString("  /  /    "));
    EXPECT_FALSE(EmptyString(" 0 "));
    EXPECT_FALSE(EmptyString("01/  /    "));

    EXPECT_EQ(Ajusta("42", 6), "000042");
    EXPECT_EQ(Ajusta(" 7 ", 3), "007");
    EXPECT_EQ(Ajusta("", 6), "");
    EXPECT_EQ(Ajusta("   ", 6), "");
    EXPECT_EQ(Ajusta("1234567", 3), "1234567");
    EXPECT_LT(Ajusta("9", 4), Ajusta("10", 4));
}

TEST(Routines, MaxNumberRejectsKeysGivingTooManyDigits) {
    EXPECT_NO_THROW(MaxNumber("123456789", 10, 2, '0', 9, 0));
    EXPECT_THROW(MaxNumber("1234567890", 10, 2, '1', 10, 0), SilentAbort);
    EXPECT_NO_THROW(MaxNumber("1.234.567.890", 10, 2, '5', 0, 1)); // replaces the selected digit
    EXPECT_NO_THROW(MaxNumber("12,3", 10, 2, '4', 4, 0));
    EXPECT_THROW(MaxNumber("12,34", 10, 2, '5', 5, 0), SilentAbort);
    EXPECT_NO_THROW(MaxNumber("1234567890", 10, 2, ',', 10, 0)); // only digits count
    EXPECT_NO_THROW(MaxNumber("12,34", 10, 2, '5', 0, 0));       // integer part still has room
}

TEST(Routines, MaxNumberRefusesASeparatorThatGivesTooManyDecimalsOrASecondOne) {
    EXPECT_THROW(MaxNumber("12345", 10, 2, ',', 1, 0), SilentAbort); // would be 1,2345
    EXPECT_NO_THROW(MaxNumber("12345", 10, 2, ',', 3, 0));           // 123,45
    EXPECT_THROW(MaxNumber("12,34", 10, 2, ',', 1, 0), SilentAbort); // a second separator
    EXPECT_NO_THROW(MaxNumber("12,34", 10, 2, ',', 2, 1));           // replaces the selected one
    EXPECT_THROW(MaxNumber("12345678901", 10, 2, ',', 11, 0), SilentAbort);
    EXPECT_NO_THROW(MaxNumber("12", 10, 2, QChar(), 2, 0)); // the null character is no key
}

TEST(Routines, RegistrationMasks) {
    EXPECT_EQ(PictPess("F"), "999.999.999-99");
    EXPECT_EQ(PictPess("j"), "99.999.999/9999-99");
    EXPECT_EQ(PictPess("X"), "");
    EXPECT_EQ(applyMask("12345678901", PictPess("F")), "123.456.789-01");
    EXPECT_EQ(applyMask("12.345.678/0001-95", PictPess("J")), "12.345.678/0001-95");
    EXPECT_EQ(applyMask("1234", PictPess("F")), "123.4");
    EXPECT_EQ(applyMask("", PictPess("F")), "");
}

TEST(Messages, KeysMatchWithoutCaseAndMissingKeysYieldThemselves) {
    TMessages messages({"EmpInvalida|Empresa inválida.", "Texto|com | barra", "sem barra"});
    EXPECT_EQ(messages.Msg("empinvalida"), "Empresa inválida.");
    EXPECT_EQ(messages.Msg("TEXTO"), "com | barra");
    EXPECT_EQ(messages.Msg("Filial"), "Filial");
    EXPECT_FALSE(messages.contains("sem barra"));
}

TEST(Abort, MensErroShowsThenStopsOnlyWhenAsked) {
    QStringList shown;
    setErrorDisplay([&shown](const QString &text) { shown.append(text); });
    EXPECT_NO_THROW(MensErro("aviso", false));
    EXPECT_THROW(MensErro("erro", true), SilentAbort);
    EXPECT_EQ(shown, QStringList({"aviso", "erro"}));
    setErrorDisplay(nullptr);
}
