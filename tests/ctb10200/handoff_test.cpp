#include "previewfixture.h"

#include "server_contract/recconpag.h"

#include <QLabel>

using namespace RecConPag;

// Each bad hand-off gets its own message and opens nothing; a preview already open keeps what it showed.
TEST_F(PreviewTest, BadHandOffsAreRefusedWithAMessageAndChangeNothing) {
    DataPacket bare({contract::textField("CDEMPRESA", 2)});
    bare.appendRow({"01"});
    const QVariant empty = QVariant::fromValue(DataPacket(rateioFields()));
    const QList<std::pair<QVariantList, QString>> cases = {
        {{},
         "A prévia da contabilização recebeu 0 parâmetros e espera 5: empresa, número do lançamento, "
         "lançamentos, rateio e erros."},
        {emptyHandOff("01", "1").mid(0, 4),
         "A prévia da contabilização recebeu 4 parâmetros e espera 5: empresa, número do lançamento, "
         "lançamentos, rateio e erros."},
        {QVariantList{1, "1", empty, empty, empty},
         "O parâmetro 1 (empresa) da prévia da contabilização deveria ser um texto."},
        {QVariantList{"01", "1", empty, "rateio", empty},
         "O parâmetro 4 (rateio) da prévia da contabilização deveria ser um pacote de dados."},
        {QVariantList{"01", "1", QVariant::fromValue(bare), empty, empty},
         "O parâmetro 3 (lançamentos) da prévia da contabilização não traz o campo CDCONTREDU."},
        {emptyHandOff("01", ""),
         "Não há lançamento contábil para mostrar: a conta não tem número de lançamento."},
        {emptyHandOff("01", "999999999999"),
         "O lançamento contábil 999999999999 não foi encontrado na empresa 01."},
    };
    for (const auto &[params, message] : cases) {
        messages.clear();
        EXPECT_EQ(open(params), nullptr);
        EXPECT_EQ(messages.texts(), QStringList{message});
    }

    addInstalment(QStringLiteral("PRV10"), QStringLiteral("MAT"), 2500);
    confirm(QStringLiteral("PRV10"));
    const QString number = postingNumber(QStringLiteral("PRV10"));
    TfrmPreviaContabil *preview = open(emptyHandOff("01", number));
    ASSERT_NE(preview, nullptr);
    for (const auto &[params, message] : cases) {
        messages.clear();
        EXPECT_EQ(open(params), preview);
        EXPECT_EQ(messages.texts(), QStringList{message});
        EXPECT_EQ(preview->lblLancamento->text(), "Lançamento: " + number);
        EXPECT_EQ(column(preview->dbgLancamentos, "Débito"), QStringList({"25,00", ""}));
    }
}
