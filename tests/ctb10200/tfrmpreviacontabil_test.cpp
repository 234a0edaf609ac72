#include "previewfixture.h"

#include "framework/core/dataset.h"
#include "framework/core/routines.h"
#include "framework/session/norvela.h"
#include "framework/ui/grid/dbgrid.h"
#include "server_contract/recconpag.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

using namespace RecConPag;

namespace {

QVariantList runPackets(const QVariantList &answer) {
    return {answer.at(ResultLancContTemp), answer.at(ResultRateio), answer.at(ResultErrosTemp)};
}

QVariantList failedRunHandOff(const QVariantList &answer) {
    return QVariantList{"01", ""} + runPackets(answer);
}

int previewWindows(QMdiArea *area) {
    int count = 0;
    for (QMdiSubWindow *window : area->subWindowList())
        count += qobject_cast<TfrmPreviaContabil *>(window->widget()) != nullptr;
    return count;
}

const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));

} // namespace

TEST_F(PreviewTest, AFailedRunShowsItsEntriesTheirApportionmentAndTheErrorsWithTheirMeaning) {
    // An account type without expense account: the run refuses the instalment with error C01.
    addInstalment(QStringLiteral("PRV01"), QStringLiteral("DIVER"), 123456);
    const QVariantList answer = confirm(QStringLiteral("PRV01"));
    ASSERT_EQ(answer.value(ResultStatus).toString(), StatusErroContabilizacao);

    TfrmPreviaContabil *preview = open(failedRunHandOff(answer));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(messages.texts(), QStringList());
    auto *window = qobject_cast<QMdiSubWindow *>(preview->parentWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(host->mdiArea()->activeSubWindow(), window);

    EXPECT_EQ(preview->lblEmpresa->text(), "Empresa: 01 - Comercial Ipê Ltda");
    EXPECT_EQ(preview->lblLancamento->text(), "Lançamento: (sem número)");
    EXPECT_EQ(preview->lblOrigem->text(),
              "Lançamentos calculados pelo recálculo e não gravados: há erros de contabilização.");

    DataGrid *entries = preview->dbgLancamentos;
    EXPECT_EQ(column(entries, "Conta Débito"), QStringList({"(sem conta)", ""}));
    EXPECT_EQ(column(entries, "Conta Crédito"), QStringList({"", "2.1.1.01"}));
    EXPECT_EQ(column(entries, "Débito"), QStringList({"1.234,56", ""}));
    EXPECT_EQ(column(entries, "Crédito"), QStringList({"", "1.234,56"}));
    EXPECT_EQ(column(entries, "Data"), QStringList({today, today}));
    EXPECT_TRUE(column(entries, "Descrição do Histórico").first().contains("PRV01/1"));
    const QStringList numbers = column(entries, "Lançamento");
    EXPECT_EQ(numbers.first().size(), 12);
    EXPECT_EQ(preview->lblTotalDebito->text(), "Total a débito: 1.234,56");
    EXPECT_EQ(preview->lblTotalCredito->text(), "Total a crédito: 1.234,56");
    EXPECT_EQ(preview->lblConferencia->text(), "Débitos e créditos conferem.");

    // 60% and 40% of each line, to the cent, on the side of its line.
    DataGrid *splits = preview->dbgRateio;
    EXPECT_EQ(column(splits, "Nome da Filial"),
              QStringList({"Matriz São Paulo", "Filial Campinas", "Matriz São Paulo", "Filial Campinas"}));
    EXPECT_EQ(column(splits, "Nome do Centro de Custo"),
              QStringList({"Administração", "Comercial", "Administração", "Comercial"}));
    EXPECT_EQ(column(splits, "Débito"), QStringList({"740,74", "493,82", "", ""}));
    EXPECT_EQ(column(splits, "Crédito"), QStringList({"", "", "740,74", "493,82"}));
    // Picking the credit line brings its first part forward.
    const QModelIndex credit = entries->model()->index(1, 0);
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, entries->visualRect(credit).center());
    EXPECT_EQ(preview->cdsLancamentos->recNo(), 1);
    EXPECT_EQ(preview->cdsRateio->recNo(), 2);

    ASSERT_TRUE(preview->grbErros->isVisibleTo(preview));
    const QStringList codes = column(preview->dbgErros, "Código");
    ASSERT_TRUE(codes.contains("C01"));
    const int c01 = int(codes.indexOf("C01"));
    EXPECT_EQ(preview->grbErros->title(), QStringLiteral("Erros de contabilização (%1)").arg(codes.size()));
    EXPECT_EQ(column(preview->dbgErros, "Descrição do Erro").at(c01),
              "O tipo de conta a pagar não tem conta de despesa.");
    EXPECT_EQ(column(preview->dbgErros, "Conta").at(c01), "(sem conta)");
    EXPECT_EQ(column(preview->dbgErros, "Lançamento").at(c01), numbers.first());
}

TEST_F(PreviewTest, EmptyPacketsFetchTheStoredPostingAndReopeningShowsTheNewHandOff) {
    addInstalment(QStringLiteral("PRV02"), QStringLiteral("DIVER"), 1000);
    addInstalment(QStringLiteral("PRV03"), QStringLiteral("MAT"), 50000);
    ASSERT_EQ(confirm(QStringLiteral("PRV03")).value(ResultStatus).toString(), StatusOk);
    const QString number = postingNumber(QStringLiteral("PRV03"));
    ASSERT_EQ(number.size(), 12);

    TfrmPreviaContabil *first = open(failedRunHandOff(confirm(QStringLiteral("PRV02"))));
    ASSERT_NE(first, nullptr);
    auto *window = qobject_cast<QMdiSubWindow *>(first->parentWidget());
    ASSERT_NE(window, nullptr);
    window->showMinimized();
    TfrmPreviaContabil *preview = open(emptyHandOff("01", number));
    EXPECT_EQ(messages.texts(), QStringList());
    ASSERT_EQ(preview, first);
    EXPECT_EQ(previewWindows(host->mdiArea()), 1);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(host->mdiArea()->activeSubWindow(), window);

    EXPECT_EQ(preview->lblLancamento->text(), "Lançamento: " + number);
    EXPECT_EQ(preview->lblOrigem->text(), "Lançamento gravado na contabilidade.");
    EXPECT_EQ(column(preview->dbgLancamentos, "Lançamento"), QStringList({number, number}));
    EXPECT_EQ(column(preview->dbgLancamentos, "Conta Débito"), QStringList({"3.1.1.01", ""}));
    EXPECT_EQ(column(preview->dbgLancamentos, "Nome da Conta"),
              QStringList({"Despesas com materiais", "Fornecedores nacionais"}));
    EXPECT_EQ(column(preview->dbgLancamentos, "Crédito"), QStringList({"", "500,00"}));
    EXPECT_EQ(preview->lblTotalDebito->text(), "Total a débito: 500,00");
    EXPECT_EQ(preview->lblConferencia->text(), "Débitos e créditos conferem.");
    EXPECT_EQ(column(preview->dbgRateio, "Débito"), QStringList({"300,00", "200,00", "", ""}));
    EXPECT_FALSE(preview->grbErros->isVisibleTo(preview));

    QTest::mouseClick(preview->btnFechar, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frmPreviaContabil.isNull());
    EXPECT_EQ(previewWindows(host->mdiArea()), 0);
}

TEST_F(PreviewTest, TheOperatorSeesOnlyPostingsOfCompaniesHeMayWorkWith) {
    addInstalment(QStringLiteral("PRV04"), QStringLiteral("SERV"), 7000);
    ASSERT_EQ(confirm(QStringLiteral("PRV04")).value(ResultStatus).toString(), StatusOk);
    const QString number = postingNumber(QStringLiteral("PRV04"));

    Norvela::setOperador(QStringLiteral("caixa"), QStringLiteral("caixa"));
    EXPECT_EQ(open(emptyHandOff("02", number)), nullptr);
    EXPECT_EQ(messages.texts(), QStringList({"Empresa 02 não relacionada ao operador logado."}));
    messages.clear();
    TfrmPreviaContabil *preview = open(emptyHandOff("01", number));
    Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(column(preview->dbgLancamentos, "Débito"), QStringList({"70,00", ""}));
}

// A packet handed by another screen: totals that differ, and an error code the preview has no meaning for.
TEST_F(PreviewTest, TotalsThatDoNotMatchShowTheDifferenceAndAnUnknownCodeIsNamed) {
    DataPacket entries(lancContTempFields());
    const auto entry = [&entries](const QString &sequence, const QString &account, double value) {
        QVariantList row(entries.fields().size());
        row[entries.fieldIndex(u"NRLANCCTBTEMP")] = QStringLiteral("000000000042");
        row[entries.fieldIndex(u"NRSEQCTBTEMP")] = sequence;
        row[entries.fieldIndex(u"CDCONTCTBL")] = account;
        row[entries.fieldIndex(u"VRLANCCTBTEMP")] = value;
        entries.appendRow(row);
    };
    entry("1", "3.1.1.01", 1000.10);
    entry("2", "2.1.1.01", -990.0);
    DataPacket errors(errosTempFields());
    errors.appendRow({"X99", "2"});
    TfrmPreviaContabil *preview =
        open(handOff("01", "000000000042", entries, DataPacket(rateioFields()), errors));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->lblTotalDebito->text(), "Total a débito: 1.000,10");
    EXPECT_EQ(preview->lblTotalCredito->text(), "Total a crédito: 990,00");
    EXPECT_EQ(preview->lblConferencia->text(), "Diferença: 10,10");
    EXPECT_EQ(column(preview->dbgErros, "Descrição do Erro"),
              QStringList({"Erro de contabilização sem descrição cadastrada (código X99)."}));
    EXPECT_EQ(column(preview->dbgErros, "Conta"), QStringList({"2.1.1.01"}));
    EXPECT_EQ(column(preview->dbgErros, "Lançamento"), QStringList({"000000000042"}));
    // The entries stand on the line of the current error.
    EXPECT_EQ(preview->cdsLancamentos->fieldByName("NRSEQCTBTEMP")->asString(), "2");

    // Esc closes the preview as its button does.
    preview->dbgErros->setFocus();
    QTest::keyClick(preview->dbgErros, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frmPreviaContabil.isNull());
}
