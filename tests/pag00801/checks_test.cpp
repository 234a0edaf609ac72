#include "filterfixture.h"

#include "framework/core/tdatetime.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"

#include <QApplication>
#include <QRadioButton>
#include <QTest>

namespace {

QWidget *pageOf(QWidget *control) {
    QWidget *page = control;
    while (page && !qobject_cast<TabPage *>(page))
        page = page->parentWidget();
    return page;
}

QString dateText(int days) {
    return toDate(today() + days).toString(QStringLiteral("dd/MM/yyyy"));
}

// One wrong criterion (every check before it passing) and what confirming it must show: the
// message, the page in front and the focused control (by name).
struct Failure {
    const char *name;
    std::function<void(TfrmFiltroRecCtPagar *)> wrong;
    QString message;
    const char *page;
    const char *focus;
};

QWidget *named(QWidget *filter, const char *name) {
    return filter->findChild<QWidget *>(QLatin1String(name));
}

// In confirmation order.
QList<Failure> failures() {
    return {{"DueRangeReversed",
             [](TfrmFiltroRecCtPagar *f) {
                 f->depVencIni->setText(dateText(5));
                 f->depVencFin->setText(dateText(-5));
             },
             "Data de vencimento inicial deve ser menor ou igual a data de vencimento final.",
             "tshDadosRecber", "depVencIni"},
            {"DueStartMissing", [](TfrmFiltroRecCtPagar *f) { f->depVencIni->Clear(); },
             "Data de vencimento inicial deve ser informado.", "tshDadosRecber", "depVencIni"},
            {"DueEndMissing", [](TfrmFiltroRecCtPagar *f) { f->depVencFin->Clear(); },
             "Data de vencimento final deve ser informado.", "tshDadosRecber", "depVencFin"},
            {"AccountTypeListEmpty", [](TfrmFiltroRecCtPagar *f) { f->rbtTipoContLista->setChecked(true); },
             "Tipo de conta deve ser informado.", "tshDadosRecber", "rbtTipoContLista"},
            {"OriginalValueOverAnEmptyEnd",
             [](TfrmFiltroRecCtPagar *f) {
                 f->nedVrOriginalIni->setText(QStringLiteral("100"));
                 f->nedVrOriginalFin->clear();
             },
             "Valor original inicial deve ser menor ou igual ao valor original final.", "tshDadosRecber",
             "nedVrOriginalIni"},
            {"NetValueReversed",
             [](TfrmFiltroRecCtPagar *f) {
                 f->nedVrLiquidoIni->setText(QStringLiteral("100,00"));
                 f->nedVrLiquidoFin->setText(QStringLiteral("99,99"));
             },
             "Valor líquido inicial deve ser menor ou igual ao valor líquido final.", "tshDadosRecber",
             "nedVrLiquidoIni"},
            {"SupplierListEmpty", [](TfrmFiltroRecCtPagar *f) { f->rbtListaForn->setChecked(true); },
             "Fornecedor deve ser informado.", "tshDocumento", "rbtListaForn"},
            {"DocumentNumbersReversedOnceBroughtToWidth",
             [](TfrmFiltroRecCtPagar *f) {
                 f->medNrDocuIni->setText(QStringLiteral("100"));
                 f->medNrDocuFin->setText(QStringLiteral("20"));
             },
             "Número inicial deve ser menor ou igual ao número final.", "tshDocumento", "medNrDocuIni"},
            {"DocumentStartMissing",
             [](TfrmFiltroRecCtPagar *f) { f->medNrDocuFin->setText(QStringLiteral("20")); },
             "Número inicial deve ser informado.", "tshDocumento", "medNrDocuIni"},
            {"IssueEndMissing", [](TfrmFiltroRecCtPagar *f) { f->depDtEmissaoIni->setText(dateText(-3)); },
             "Data de emissão final deve ser informada.", "tshDocumento", "depDtEmissaoFin"},
            {"IssueStartMissing", [](TfrmFiltroRecCtPagar *f) { f->depDtEmissaoFin->setText(dateText(-3)); },
             "Data de emissão inicial deve ser informada.", "tshDocumento", "depDtEmissaoIni"},
            {"EntryRangeReversed",
             [](TfrmFiltroRecCtPagar *f) {
                 f->depDtEntradaIni->setText(dateText(-1));
                 f->depDtEntradaFin->setText(dateText(-2));
             },
             "Data de entrada inicial deve ser menor ou igual a data de entrada final.", "tshDocumento",
             "depDtEntradaIni"},
            {"EntryEndMissing", [](TfrmFiltroRecCtPagar *f) { f->depDtEntradaIni->setText(dateText(-1)); },
             "Data de entrada final deve ser informada.", "tshDocumento", "depDtEntradaFin"},
            {"OriginBranchListEmpty", [](TfrmFiltroRecCtPagar *f) { f->rbtListaFiliOrig->setChecked(true); },
             "Filial origem deve ser informada.", "tshDocumento", "rbtListaFiliOrig"},
            {"PostingBranchListEmpty", [](TfrmFiltroRecCtPagar *f) { f->rbtListaFiliLanc->setChecked(true); },
             "Filial lançamento deve ser informada.", "tshDocumento", "rbtListaFiliLanc"},
            {"DocumentValueReversed",
             [](TfrmFiltroRecCtPagar *f) {
                 f->nedVrDocuIni->setText(QStringLiteral("10"));
                 f->nedVrDocuFin->setText(QStringLiteral("5"));
             },
             "Valor documento inicial deve ser menor ou igual ao valor documento final.", "tshDocumento",
             "nedVrDocuIni"}};
}

} // namespace

// Each failing check shows its message, brings its page to the front and focuses its control; the
// dialog stays open with nothing fetched or kept, and the cursor is the default one. Every case
// starts from the held criteria, restored as each showing does, on the other page.
TEST_F(FilterTest, EachFailingCheckReportsWithItsPageAndFocus) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    CriaFiltroRecContPagar(QStringLiteral("esconde_filtro"));
    const TFILTRO before = frmFiltroRecCtPagar->Filtro;
    inDialog([&](TfrmFiltroRecCtPagar *filter) {
        for (const Failure &failure : failures()) {
            SCOPED_TRACE(failure.name);
            filter->FormActivate();
            messages.clear();
            QWidget *page = named(filter, failure.page);
            filter->pgcPadrao->setActivePage(page == filter->tshDocumento
                                                 ? static_cast<QWidget *>(filter->tshDadosRecber)
                                                 : filter->tshDocumento);
            failure.wrong(filter);
            QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
            EXPECT_EQ(messages.texts(), QStringList{failure.message});
            EXPECT_TRUE(filter->isVisible());
            EXPECT_EQ(filter->pgcPadrao->ActivePage(), page);
            EXPECT_EQ(QApplication::focusWidget(), named(filter, failure.focus));
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        }
    });
    EXPECT_FALSE(frmRecCtPagar->cdsCntPagar->active());
    EXPECT_TRUE(frmFiltroRecCtPagar->Filtro == before);
}

TEST_F(FilterTest, OnlyTheFirstFailureInConfirmationOrderIsReported) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    inDialog([](TfrmFiltroRecCtPagar *filter) {
        // A missing supplier list (page "Documento") and a reversed due range (page "Conta a Pagar").
        filter->pgcPadrao->setActivePage(filter->tshDocumento);
        filter->rbtListaForn->setChecked(true);
        filter->depVencIni->setText(dateText(10));
        filter->depVencFin->setText(dateText(1));
        QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
        EXPECT_EQ(filter->pgcPadrao->ActivePage(), filter->tshDadosRecber);
        EXPECT_EQ(QApplication::focusWidget(), filter->depVencIni);
    });
    EXPECT_EQ(messages.texts(),
              QStringList{"Data de vencimento inicial deve ser menor ou igual a data de vencimento final."});
}

TEST_F(FilterTest, AnImpossibleDateIsReportedByItsEntryWithoutMovingThePage) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    inDialog([](TfrmFiltroRecCtPagar *filter) {
        filter->pgcPadrao->setActivePage(filter->tshDocumento);
        filter->depVencFin->setText(QStringLiteral("31/02/2026"));
        filter->depDtEmissaoIni->setText(QStringLiteral("32/01/2026"));
        QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
        EXPECT_EQ(filter->pgcPadrao->ActivePage(), filter->tshDocumento);
        EXPECT_TRUE(filter->isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    });
    EXPECT_EQ(messages.texts(), QStringList{"31/02/2026 não é uma data válida."});
    EXPECT_FALSE(frmRecCtPagar->cdsCntPagar->active());
}

TEST_F(FilterTest, EqualEndsPassAndEmptyValueEntriesBecomeZero) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    inDialog([](TfrmFiltroRecCtPagar *filter) {
        filter->depVencIni->setText(dateText(0));
        filter->depVencFin->setText(dateText(0));
        filter->medNrDocuIni->setText(QStringLiteral("20"));
        filter->medNrDocuFin->setText(QStringLiteral("100"));
        filter->nedVrOriginalIni->clear();
        filter->nedVrOriginalFin->clear();
        QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
        EXPECT_FALSE(filter->isVisible());
    });
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.Documento.NrDocuIni, QStringLiteral("000000020"));
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.Documento.NrDocuFin, QStringLiteral("000000100"));
    EXPECT_EQ(frmFiltroRecCtPagar->nedVrOriginalIni->text(), QStringLiteral("0"));
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro.VencIni, frmFiltroRecCtPagar->Filtro.VencFin);
}

// Leaving an entry checks the date alone; the document numbers are brought to width on the way out.
TEST_F(FilterTest, LeavingEntriesChecksDatesAndAdjustsDocumentNumbers) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    inDialog([this](TfrmFiltroRecCtPagar *filter) {
        filter->pgcPadrao->setActivePage(filter->tshDocumento);
        typeInto(filter->depDtEmissaoIni, QStringLiteral("31022026"));
        QTest::mouseClick(filter->depDtEntradaIni, Qt::LeftButton);
        EXPECT_EQ(messages.texts(), QStringList{"31/02/2026 não é uma data válida."});
        EXPECT_EQ(QApplication::focusWidget(), filter->depDtEmissaoIni);
        filter->depDtEmissaoIni->Clear();
        QTest::mouseClick(filter->depDtEntradaIni, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), filter->depDtEntradaIni);

        typeInto(filter->medNrDocuIni, QStringLiteral("42"));
        QTest::mouseClick(filter->depDtEntradaIni, Qt::LeftButton);
        EXPECT_EQ(filter->medNrDocuIni->text(), QStringLiteral("000000042"));
        EXPECT_EQ(filter->medNrDocuFin->text(), QStringLiteral("000000042"));
        typeInto(filter->medNrDocuFin, QStringLiteral("7"));
        QTest::mouseClick(filter->depDtEntradaIni, Qt::LeftButton);
        EXPECT_EQ(filter->medNrDocuFin->text(), QStringLiteral("000000007"));
    });
    EXPECT_EQ(messages.texts().size(), 1);
}

// Wherever the key goes: no minus sign, no 11th whole digit, no 3rd decimal, no second separator.
TEST_F(FilterTest, ValueEntriesRefuseKeysThatWouldBreakTheirForm) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    inDialog([this](TfrmFiltroRecCtPagar *filter) {
        for (TNumberEdit *entry :
             {filter->nedVrOriginalIni, filter->nedVrOriginalFin, filter->nedVrLiquidoIni,
              filter->nedVrLiquidoFin, filter->nedVrDocuIni, filter->nedVrDocuFin}) {
            filter->pgcPadrao->setActivePage(pageOf(entry));
            typeInto(entry, QStringLiteral("-12345678901"));
            EXPECT_EQ(entry->text(), QStringLiteral("1234567890")) << entry->objectName().toStdString();
            entry->setCursorPosition(0);
            QTest::keyClicks(entry, QStringLiteral("9"));
            EXPECT_EQ(entry->text(), QStringLiteral("1234567890"));

            typeInto(entry, QStringLiteral("12345"));
            entry->setCursorPosition(1);
            QTest::keyClicks(entry, QStringLiteral(","));
            EXPECT_EQ(entry->text(), QStringLiteral("12345")) << "1,2345 has four decimals";
            entry->setCursorPosition(3);
            QTest::keyClicks(entry, QStringLiteral(",9"));
            EXPECT_EQ(entry->text(), QStringLiteral("123,45"));
            entry->setCursorPosition(1);
            QTest::keyClicks(entry, QStringLiteral(",-"));
            entry->setCursorPosition(6);
            QTest::keyClicks(entry, QStringLiteral("6"));
            EXPECT_EQ(entry->text(), QStringLiteral("123,45"));
            entry->setSelection(4, 2);
            QTest::keyClicks(entry, QStringLiteral("7"));
            EXPECT_EQ(entry->text(), QStringLiteral("123,7"));
        }
    });
    EXPECT_EQ(messages.texts(), QStringList());
}
