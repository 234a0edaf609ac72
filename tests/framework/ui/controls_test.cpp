#include "support.h"

#include "framework/core/abort.h"
#include "framework/core/datasource.h"
#include "framework/core/routines.h"
#include "framework/core/tdatetime.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/pagecontrol.h"
#include "framework/ui/controls/radiogroup.h"
#include "framework/ui/grid/dbgrid.h"
#include "framework/ui/messages/scriptedmessages.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

TEST(DateEditPlus, TypedDatesReadAsDayCountsAndEmptyIsZero) {
    ScriptedMessages messages;
    TDateEditPlus edit(QStringLiteral("depVencIni"), nullptr);
    QTest::keyClicks(&edit, QStringLiteral("15032026"));
    EXPECT_EQ(edit.text(), QStringLiteral("15/03/2026"));
    EXPECT_EQ(edit.GetDate(), 46096.0);

    edit.SetDate(46096.75);
    EXPECT_EQ(edit.text(), QStringLiteral("15/03/2026"));
    edit.SetDate(0);
    EXPECT_TRUE(edit.text().isEmpty());
    EXPECT_EQ(edit.GetDate(), 0.0);
    EXPECT_TRUE(EmptyString(edit.text()));
    EXPECT_NO_THROW(edit.CheckValidDate());

    edit.setText(QStringLiteral("31/02/2026"));
    EXPECT_EQ(edit.GetDate(), 0.0);
    EXPECT_THROW(edit.CheckValidDate(), SilentAbort);
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList({"31/02/2026 não é uma data válida."}));
    edit.Clear();
    EXPECT_NO_THROW(edit.CheckValidDate());
}

TEST(DateEditPlus, SaveTimeKeepsTheTimeOfDayAndAValidDateNamesItsWeekDay) {
    TDateEditPlus edit(QStringLiteral("depVencIni"), nullptr);
    edit.SetDate(46096.75);
    EXPECT_EQ(edit.GetDate(), 46096.0);
    edit.setSaveTime(true);
    edit.SetDate(46096.75);
    EXPECT_EQ(edit.GetDate(), 46096.75);

    edit.setDayNames({"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"});
    edit.setValidDateColor(Qt::darkGreen);
    EXPECT_EQ(edit.toolTip(), QStringLiteral("Domingo")); // 15/03/2026
    EXPECT_EQ(edit.palette().color(QPalette::Text), QColor(Qt::darkGreen));
    edit.setText(QStringLiteral("31/02/2026"));
    EXPECT_TRUE(edit.toolTip().isEmpty());
    EXPECT_NE(edit.palette().color(QPalette::Text), QColor(Qt::darkGreen));
}

TEST(DateEditPlus, CalendarPickWritesTheDate) {
    TDateEditPlus edit(QStringLiteral("depDtEmissaoIni"), nullptr);
    edit.SetDate(46096);
    edit.showCalendar();
    ASSERT_TRUE(edit.calendar()->isVisible());
    EXPECT_EQ(edit.calendar()->selectedDate(), QDate(2026, 3, 15));
    emit edit.calendar()->clicked(QDate(2026, 4, 1));
    EXPECT_EQ(edit.text(), QStringLiteral("01/04/2026"));
    EXPECT_FALSE(edit.calendar()->isVisible());
}

TEST(NumberEdit, BrazilianNotationBothWays) {
    TNumberEdit edit(QStringLiteral("nedVrDocuIni"), nullptr);
    EXPECT_EQ(edit.GetNumber(), 0.0);
    edit.setThousands(true);
    edit.SetNumber(1234.5);
    EXPECT_EQ(edit.text(), QStringLiteral("1.234,50"));
    EXPECT_EQ(edit.GetNumber(), 1234.5);
    edit.setThousands(false);
    edit.SetNumber(-1234567.891);
    EXPECT_EQ(edit.text(), QStringLiteral("-1234567,89"));
    edit.setText(QStringLiteral("12,3"));
    EXPECT_DOUBLE_EQ(edit.GetNumber(), 12.3);
}

TEST(NumberEdit, LeavingTheEntryBringsItsTextToTheNotation) {
    QWidget window;
    auto *number = new TNumberEdit(QStringLiteral("nedVrLiquidoIni"), &window);
    auto *next = new QLineEdit(&window);
    number->setThousands(true);
    next->move(0, 40);
    ASSERT_TRUE(showActive(&window));
    number->setFocus();
    QTest::keyClicks(number, QStringLiteral("1234,5"));
    QTest::keyClick(number, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(number->text(), QStringLiteral("1.234,50"));
    number->clear();
    number->setFocus();
    next->setFocus();
    EXPECT_TRUE(number->text().isEmpty());
}

TEST(NumberEdit, KeyPressHandlerRefusesAndReplacesKeys) {
    ScriptedMessages messages;
    TNumberEdit edit(QStringLiteral("nedVrOriginalIni"), nullptr);
    edit.setOnKeyPress([&edit](QChar &key) {
        if (key == QLatin1Char('.'))
            key = QLatin1Char(',');
        MaxNumber(edit.text(), 3, 2, key, edit.cursorPosition(), edit.selectedText().size());
    });
    QTest::keyClicks(&edit, QStringLiteral("1234.567"));
    EXPECT_EQ(edit.text(), QStringLiteral("123,56"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(MaskEdit, TwoDigitMaskKeepsOnlyTypedDigits) {
    MaskedEdit edit(QStringLiteral("medCdEmpresa"), nullptr);
    edit.setEditMask(QStringLiteral("99;0; "));
    QTest::keyClicks(&edit, QStringLiteral("7a"));
    EXPECT_EQ(edit.text(), QStringLiteral("7"));
    edit.setText(QStringLiteral("123"));
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
    EXPECT_EQ(inputMaskOf(QStringLiteral("999.999;0;_")), QStringLiteral("000\\.000;_"));
}

TEST(RadioGroupAndPages, ItemIndexAndDisabledPages) {
    RadioGroup group(QStringLiteral("rdgCtbl"), QStringLiteral("Contabilização"), nullptr);
    group.setItems({"Contabilizadas", "Não contabilizadas", "Ambos"});
    QList<int> changes;
    QObject::connect(&group, &RadioGroup::itemIndexChanged, [&](int index) { changes << index; });
    EXPECT_EQ(group.ItemIndex(), -1);
    group.setItemIndex(2);
    group.button(0)->click();
    EXPECT_EQ(group.ItemIndex(), 0);
    group.setItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_EQ(changes, QList<int>({2, 0, -1}));

    PageControl pages(QStringLiteral("pgcPadrao"));
    auto *grid = new TabPage(QStringLiteral("tshFolhaDados"));
    auto *form = new TabPage(QStringLiteral("tshFormulario"));
    form->setEnabled(false);
    pages.addPage(grid, QStringLiteral("Folha"));
    pages.addPage(form, QStringLiteral("Ajustes"));
    EXPECT_FALSE(pages.tabBar()->isTabEnabled(1));
    form->setEnabled(true);
    EXPECT_TRUE(pages.tabBar()->isTabEnabled(1));
    pages.setActivePage(form);
    EXPECT_EQ(pages.ActivePage(), form);

    EXPECT_EQ(shortcutOf(16460), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(shortcutOf(16452), QKeySequence(Qt::CTRL | Qt::Key_D));
}

TEST(BtnPesquisa, EmptyListShowsItsMessageAndAPickRunsAfterSearch) {
    ScriptedMessages messages;
    ClientDataSet rows;
    declareRows(rows);
    DataSource source;
    source.setDataSet(&rows);
    QWidget window;
    auto *code = new QLineEdit(&window);
    TBtnPesquisa button(QStringLiteral("btpEmpresa"), &window);
    button.setAssociate(code);
    button.setDataSource(&source);
    button.setEmptyError(QStringLiteral("Não há empresa cadastrada."));
    int before = 0;
    QString picked;
    button.OnBeforePesq = [&] {
        ++before;
        loadRows(rows, before == 1 ? 0 : 5);
    };
    button.OnAfterPesq = [&] { picked = rows.fieldByName(u"CODIGO")->asString(); };

    button.click();
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList({"Não há empresa cadastrada."}));
    EXPECT_TRUE(picked.isEmpty());

    ASSERT_TRUE(showActive(&window));
    onNextModal([](QWidget *dialog) {
        auto *grid = dialog->findChild<DataGrid *>(QStringLiteral("dbgPickRow"));
        grid->setCurrentIndex(grid->model()->index(3, 0));
        clickButton(dialog, QStringLiteral("OK"));
    });
    button.click();
    EXPECT_EQ(before, 2);
    EXPECT_EQ(picked, QStringLiteral("000003"));
    EXPECT_EQ(window.focusWidget(), code);
}
