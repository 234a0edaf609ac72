#include "gridsupport.h"
#include "screenfixture.h"

#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "server_contract/recconpag.h"
#include "tests/framework/ui/support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace GridSupport;

namespace {

class AdjustmentsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        screen = openScreen();
        ASSERT_NE(screen, nullptr);
        grid = screen->dbgPadrao;
    }

    QString text(ClientDataSet *rows, const char *field) const {
        return rows->fieldByName(field)->asString();
    }

    // Moves down the payables of company 01 with the arrow key until one has adjustments.
    bool moveToAPayableWithAdjustments() {
        browse(screen, QStringLiteral("01"));
        screen->cdsCntPagar->setData(fetchPayables(screen, QStringLiteral("01")));
        while (screen->cdsAjusPag->isEmpty() && !screen->cdsCntPagar->eof()) {
            const int row = screen->cdsCntPagar->recNo();
            QTest::keyClick(grid, Qt::Key_Down);
            if (screen->cdsCntPagar->recNo() == row)
                return false;
        }
        return !screen->cdsAjusPag->isEmpty();
    }

    // Shows the adjustments page as a user does, through the menu.
    void showAdjustmentsPage() {
        screen->tshFormulario->setEnabled(true);
        screen->mnuFormulario->trigger();
    }

    // Scripts the search dialog that opens next: the column chosen and the value typed.
    static void searchNext(const QString &column, const QString &value) {
        onNextModal([=](QWidget *dialog) {
            auto *columns = dialog->findChild<QComboBox *>(QStringLiteral("cbbCampo"));
            columns->setCurrentIndex(columns->findText(column));
            dialog->findChild<QLineEdit *>(QStringLiteral("edtValor"))->setText(value);
            clickButton(dialog, QStringLiteral("OK"));
        });
    }

    TfrmRecCtPagar *screen = nullptr;
    DataGrid *grid = nullptr;
};

// Signs the screen's connection in as another operator until the end of the scope.
class SignedInAs {
public:
    SignedInAs(TNetConnection *net, const QString &operatorCode)
        : net(net) {
        Norvela::setOperador(operatorCode, operatorCode);
        net->setConnected(false);
    }
    ~SignedInAs() {
        Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
        net->setConnected(false);
    }

private:
    TNetConnection *net;
};

} // namespace

TEST_F(AdjustmentsTest, EachMoveFetchesTheAdjustmentsOfTheNewCurrentPayable) {
    ASSERT_TRUE(moveToAPayableWithAdjustments());
    ClientDataSet *payables = screen->cdsCntPagar;
    ClientDataSet *adjustments = screen->cdsAjusPag;
    for (adjustments->first(); !adjustments->eof(); adjustments->next())
        for (const char *key : {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG"})
            EXPECT_EQ(text(adjustments, key), text(payables, key)) << key;

    const qint64 calls = screen->netRecContaPagar->callCount();
    QTest::keyClick(grid, payables->recNo() > 0 ? Qt::Key_Up : Qt::Key_Down);
    EXPECT_EQ(screen->netRecContaPagar->callCount(), calls + 1);
    adjustments->first();
    EXPECT_TRUE(adjustments->isEmpty() || text(adjustments, "NRLANCTONF") == text(payables, "NRLANCTONF"));
    EXPECT_EQ(messages.texts(), QStringList());

    // An empty list has no adjustments to fetch.
    ASSERT_TRUE(moveToAPayableWithAdjustments());
    const qint64 callsBeforeEmptyList = screen->netRecContaPagar->callCount();
    screen->cdsCntPagar->setData(payableRows({}));
    EXPECT_EQ(screen->netRecContaPagar->callCount(), callsBeforeEmptyList);
    EXPECT_TRUE(adjustments->isEmpty());
}

TEST_F(AdjustmentsTest, TypeAndKindColumnsShowDescriptionsNotCodes) {
    DataPacket packet(RecConPag::ajusPagFields());
    const QList<std::array<const char *, 3>> rows = {
        {"0001", "D", "Desconto comercial"}, {"0002", "A", "Juros"}, {"0003", "d", "Outro"},
        {"", "", "Tipo sem código"},         {"  ", "X", "Branco"},
    };
    for (const auto &row : rows) {
        QVariantList values(packet.fields().size());
        values[packet.fieldIndex(u"CDAJUCTPAG")] = row[0];
        values[packet.fieldIndex(u"IDAJUCTPAG")] = row[1];
        values[packet.fieldIndex(u"DSAJUCTPAG")] = QString::fromUtf8(row[2]);
        packet.appendRow(values);
    }
    screen->cdsAjusPag->setData(packet);
    const auto column = [this](const QString &field) {
        QStringList texts;
        for (int row = 0; row < screen->dbgAjusPag->model()->rowCount(); ++row)
            texts << screen->dbgAjusPag->model()
                         ->index(row, columnOf(screen->dbgAjusPag, field))
                         .data()
                         .toString();
        return texts;
    };
    EXPECT_EQ(column("IDAJUCTPAG"), QStringList({"Desconto", "Acrescimo", "", "", ""}));
    EXPECT_EQ(column("CDAJUCTPAG"), QStringList({"Desconto comercial", "Juros", "Outro", "", ""}));
}

TEST_F(AdjustmentsTest, TheAdjustmentsMenuItemBringsItsPageAndKeepsTheCheckMarks) {
    screen->cdsCntPagar->setData(fetchPayables(screen, QStringLiteral("01")));
    showAdjustmentsPage();
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFormulario);
    EXPECT_TRUE(screen->mnuFormulario->isChecked());
    EXPECT_FALSE(screen->mnuFolhaDados->isChecked());
    // Choosing it again leaves the page and its mark as they are.
    screen->mnuFormulario->trigger();
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFormulario);
    EXPECT_TRUE(screen->mnuFormulario->isChecked());

    screen->mnuFolhaDados->trigger();
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFolhaDados);
    EXPECT_FALSE(screen->mnuFormulario->isChecked());
    EXPECT_TRUE(screen->mnuFolhaDados->isChecked());
    // A disabled page is not reached, and its item gets no mark.
    screen->tshFormulario->setEnabled(false);
    screen->mnuFormulario->trigger();
    EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshFolhaDados);
    EXPECT_FALSE(screen->mnuFormulario->isChecked());
}

TEST_F(AdjustmentsTest, TheSearchButtonSearchesThePageShown) {
    ASSERT_TRUE(moveToAPayableWithAdjustments());
    ClientDataSet *payables = screen->cdsCntPagar;
    ClientDataSet *adjustments = screen->cdsAjusPag;
    const int payable = payables->recNo();
    const int lastAdjustment = adjustments->recordCount() - 1;
    adjustments->setRecNo(lastAdjustment);
    const QString description = text(adjustments, "DSAJUSTEPAG");
    adjustments->first();

    showAdjustmentsPage();
    searchNext(QStringLiteral("Descrição"), description);
    QTest::mouseClick(screen->sbtProcurar, Qt::LeftButton);
    EXPECT_EQ(text(adjustments, "DSAJUSTEPAG"), description);
    EXPECT_EQ(payables->recNo(), payable);

    screen->mnuFolhaDados->trigger();
    payables->setRecNo(payables->recordCount() - 1);
    const QString supplier = text(payables, "NMRAZSOCFORN");
    payables->first();
    searchNext(QStringLiteral("Fornecedor"), supplier);
    QTest::mouseClick(screen->sbtProcurar, Qt::LeftButton);
    EXPECT_EQ(text(payables, "NMRAZSOCFORN"), supplier);
    EXPECT_EQ(messages.texts(), QStringList());
}

// After a refused fetch the page shows no adjustments rather than those of the previous payable.
TEST_F(AdjustmentsTest, AFailedFetchLeavesThePageEmptyAndIsShown) {
    ASSERT_TRUE(moveToAPayableWithAdjustments());
    const DataPacket payables = screen->cdsCntPagar->data();
    const int withAdjustments = screen->cdsCntPagar->recNo();
    DataPacket two(payables.fields());
    QVariantList row;
    for (int field = 0; field < payables.fields().size(); ++field)
        row << payables.value(withAdjustments, field);
    two.appendRow(row);
    row[payables.fieldIndex(u"CDFILIAL")] = QStringLiteral("0201"); // of company 02
    two.appendRow(row);

    const SignedInAs cashier(screen->netRecContaPagar, QStringLiteral("caixa"));
    screen->cdsCntPagar->setData(two);
    ASSERT_FALSE(screen->cdsAjusPag->isEmpty());
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(screen->cdsCntPagar->recNo(), 1);
    EXPECT_EQ(messages.textsOf(DialogType::Error),
              QStringList({"Filial 0201 pertence a empresa não relacionada ao operador logado."}));
    EXPECT_TRUE(screen->cdsAjusPag->active());
    EXPECT_TRUE(screen->cdsAjusPag->isEmpty());
    EXPECT_EQ(screen->dbgAjusPag->model()->rowCount(), 0);

    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_FALSE(screen->cdsAjusPag->isEmpty());
}
