#include "support.h"

#include "framework/core/datasource.h"
#include "framework/core/routines.h"
#include "framework/ui/dialogs/pesquisalista.h"
#include "framework/ui/messages/scriptedmessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

QTreeView *listOf(QWidget *dialog) {
    return dialog->findChild<QTreeView *>(QStringLiteral("lstPesquisaLista"));
}

QLineEdit *searchOf(QWidget *dialog) {
    return dialog->findChild<QLineEdit *>(QStringLiteral("edtPesquisa"));
}

QString labelText(QWidget *dialog, const char *name) {
    return dialog->findChild<QLabel *>(QString::fromLatin1(name))->text();
}

QStringList shownCodes(QWidget *dialog) {
    QAbstractItemModel *model = listOf(dialog)->model();
    QStringList codes;
    for (int row = 0; row < model->rowCount(); ++row)
        codes << model->index(row, 0).data().toString();
    return codes;
}

// Suppliers: a hidden code, a registration number shown through its mask, a name with accents.
// Code "A;B" cannot stand in a list.
class ChoiceTest : public testing::Test {
protected:
    void SetUp() override {
        rows.addField({.name = "CDFORN", .size = 6, .visible = false});
        rows.addField({.name = "NRDOC", .size = 14, .displayLabel = "Documento"});
        rows.addField({.name = "NMFORN", .size = 30, .displayLabel = "Nome"});
        rows.fieldByName(u"NRDOC")->setOnGetText(
            [](Field &field) { return applyMask(field.asString(), PictPess(QStringLiteral("J"))); });
        DataPacket packet(rows.fieldDefs());
        packet.appendRow({"000001", "11222333000181", "Papelaria Ipê"});
        packet.appendRow({"000002", "44555666000100", "Elétrica Jacarandá"});
        packet.appendRow({"A;B", "77888999000155", "Código antigo"});
        packet.appendRow({"000004", "12345678000199", "Ipê Transportes"});
        rows.setData(packet);
        rows.setRecNo(2);
        source.setDataSet(&rows);
    }

    std::optional<QStringList> choose(std::function<void(QWidget *)> script, const QStringList &marked = {},
                                      bool markAll = false) {
        onNextModal(std::move(script));
        return PesquisaLista(&source, QStringLiteral("CDFORN"), QStringLiteral("Fornecedor"), markAll, marked,
                             rules);
    }

    ClientDataSet rows;
    DataSource source;
    ScriptedMessages messages;
    ChoiceRules rules{.refusal =
                          [](const QString &code) {
                              return code.contains(u';') ? QStringLiteral("o código contém \";\".")
                                                         : QString();
                          },
                      .maxChosen = 0,
                      .hint = {}};
};

} // namespace

TEST_F(ChoiceTest, TypingFindsByCodeNameOrRegistrationAndSpaceTicksTheRow) {
    QStringList byAccentlessName, byFormattedNumber, byDigits, byTwoWords;
    const auto chosen = choose([&](QWidget *dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        EXPECT_TRUE(searchOf(dialog)->hasFocus()) << "the clerk can type at once";
        EXPECT_EQ(listOf(dialog)->model()->headerData(1, Qt::Horizontal).toString(),
                  QStringLiteral("Documento"));
        QTest::keyClicks(searchOf(dialog), QStringLiteral("ipe"));
        byAccentlessName = shownCodes(dialog);
        searchOf(dialog)->clear();
        QTest::keyClicks(searchOf(dialog), QStringLiteral("44.555"));
        byFormattedNumber = shownCodes(dialog);
        searchOf(dialog)->clear();
        QTest::keyClicks(searchOf(dialog), QStringLiteral("5678000"));
        byDigits = shownCodes(dialog);
        searchOf(dialog)->clear();
        searchOf(dialog)->setText(QStringLiteral("IPÊ  transp"));
        byTwoWords = shownCodes(dialog);
        QTest::keyClick(searchOf(dialog), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << "Enter in the search goes to the list, it does not confirm";
        EXPECT_TRUE(listOf(dialog)->hasFocus());
        QTest::keyClick(listOf(dialog), Qt::Key_Space);
        EXPECT_EQ(labelText(dialog, "lblEscolhidos"), QStringLiteral("1 de 4 escolhidos · 1 mostrados"));
        searchOf(dialog)->clear();
        QTest::keyClicks(searchOf(dialog), QStringLiteral("00000"));
        QTest::keyClick(searchOf(dialog), Qt::Key_Down);
        QTest::keyClick(listOf(dialog), Qt::Key_Space);
        clickButton(dialog, QStringLiteral("OK"));
    });
    EXPECT_EQ(byAccentlessName, (QStringList{"000001", "000004"}));
    EXPECT_EQ(byFormattedNumber, QStringList{"000002"});
    EXPECT_EQ(byDigits, QStringList{"000004"});
    EXPECT_EQ(byTwoWords, QStringList{"000004"});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, (QStringList{"000001", "000004"})) << "in the rows' order";
    EXPECT_EQ(rows.recNo(), 2) << "the cursor stays";
}

TEST_F(ChoiceTest, MarkShownTicksOnlyWhatTheSearchShowsAndNeverARefusedCode) {
    QString countAfterMarkingAll, reasonOnRefused, noteBefore;
    const auto chosen = choose([&](QWidget *dialog) {
        noteBefore = labelText(dialog, "lblMotivo");
        clickButton(dialog, QStringLiteral("Marcar mostrados"));
        countAfterMarkingAll = labelText(dialog, "lblEscolhidos");
        searchOf(dialog)->setText(QStringLiteral("ipê"));
        clickButton(dialog, QStringLiteral("Desmarcar mostrados"));
        searchOf(dialog)->clear();
        listOf(dialog)->setCurrentIndex(listOf(dialog)->model()->index(2, 0));
        reasonOnRefused = labelText(dialog, "lblMotivo");
        QTest::keyClick(listOf(dialog), Qt::Key_Space);
        EXPECT_FALSE(listOf(dialog)->model()->setData(listOf(dialog)->model()->index(2, 0), Qt::Checked,
                                                      Qt::CheckStateRole));
        clickButton(dialog, QStringLiteral("OK"));
    });
    EXPECT_EQ(noteBefore,
              QStringLiteral("1 linha em cinza não pode ser escolhida; selecione-a para ver o motivo."));
    EXPECT_EQ(countAfterMarkingAll, QStringLiteral("3 de 4 escolhidos"));
    EXPECT_EQ(reasonOnRefused, QStringLiteral("Não pode ser escolhido: o código contém \";\"."));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, QStringList{"000002"});
}

TEST_F(ChoiceTest, PreviousChoiceComesUpTickedAndCancelGivesNothing) {
    int checkedAtStart = 0;
    const auto cancelled = choose(
        [&](QWidget *dialog) {
            QAbstractItemModel *model = listOf(dialog)->model();
            for (int row = 0; row < model->rowCount(); ++row)
                checkedAtStart += model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
            clickButton(dialog, QStringLiteral("Desmarcar mostrados"));
            clickButton(dialog, QStringLiteral("Cancelar"));
        },
        {"000002", "000004", "A;B", "999999"});
    EXPECT_EQ(checkedAtStart, 2) << "a refused or unknown code is not ticked";
    EXPECT_FALSE(cancelled);

    const auto all = choose([](QWidget *dialog) { clickButton(dialog, QStringLiteral("OK")); }, {}, true);
    ASSERT_TRUE(all);
    EXPECT_EQ(*all, (QStringList{"000001", "000002", "000004"}));
}

TEST_F(ChoiceTest, MoreThanTheLimitIsRefusedAndTheDialogStaysOpen) {
    rules.maxChosen = 2;
    rules.hint = QStringLiteral("Para todos, escolha \"Todos\".");
    bool openAfterRefusal = false;
    const auto chosen = choose([&](QWidget *dialog) {
        clickButton(dialog, QStringLiteral("Marcar mostrados"));
        clickButton(dialog, QStringLiteral("OK"));
        openAfterRefusal = dialog->isVisible();
        QTest::keyClicks(searchOf(dialog), QStringLiteral("jacaranda"));
        clickButton(dialog, QStringLiteral("Desmarcar mostrados"));
        clickButton(dialog, QStringLiteral("OK"));
    });
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(messages.texts(),
              QStringList{"Escolha no máximo 2 itens; há 3 escolhidos. Para todos, escolha \"Todos\"."});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, (QStringList{"000001", "000004"}));
}
