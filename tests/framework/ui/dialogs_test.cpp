#include "support.h"

#include "framework/core/datasource.h"
#include "framework/ui/dialogs/pesquisalista.h"
#include "framework/ui/dialogs/procura.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "server_contract/listargs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

QStandardItemModel *linesOf(QWidget *dialog) {
    return qobject_cast<QStandardItemModel *>(
        dialog->findChild<QTreeView *>(QStringLiteral("lstPesquisaLista"))->model());
}

class ListFixture : public testing::Test {
protected:
    void SetUp() override {
        declareRows(rows);
        loadRows(rows, 6);
        rows.setRecNo(4);
        source.setDataSet(&rows);
    }

    ClientDataSet rows;
    DataSource source;
};

} // namespace

TEST_F(ListFixture, ChosenKeysAreWrittenInTheServersListFormat) {
    QString list;
    QStringList shownLabels;
    onNextModal([&](QWidget *dialog) {
        QStandardItemModel *lines = linesOf(dialog);
        for (int column = 0; column < lines->columnCount(); ++column)
            shownLabels << lines->headerData(column, Qt::Horizontal).toString();
        lines->item(1, 0)->setCheckState(Qt::Checked);
        lines->item(5, 0)->setCheckState(Qt::Checked);
        clickButton(dialog, QStringLiteral("OK"));
    });
    PesquisaLista(&source, QStringLiteral("CODIGO"), QStringLiteral("Fornecedor"), false, list);
    EXPECT_EQ(list, QStringLiteral("000001;000005"));
    EXPECT_EQ(CodeList::parse(list), QStringList({"000001", "000005"}));
    EXPECT_EQ(shownLabels, QStringList({"Código", "Nome", "Valor", "IDMARCADO"}));
    EXPECT_EQ(rows.recNo(), 4);
}

TEST_F(ListFixture, PreviousChoiceComesUpMarkedAndCancelKeepsTheList) {
    QString list = QStringLiteral("000002;000003");
    QList<int> marked;
    onNextModal([&](QWidget *dialog) {
        QStandardItemModel *lines = linesOf(dialog);
        for (int row = 0; row < lines->rowCount(); ++row)
            if (lines->item(row, 0)->checkState() == Qt::Checked)
                marked << row;
        lines->item(0, 0)->setCheckState(Qt::Checked);
        clickButton(dialog, QStringLiteral("Cancelar"));
    });
    PesquisaLista(&source, QStringLiteral("CODIGO"), QStringLiteral("Filial"), false, list);
    EXPECT_EQ(marked, QList<int>({2, 3}));
    EXPECT_EQ(list, QStringLiteral("000002;000003"));

    onNextModal([](QWidget *dialog) {
        linesOf(dialog)->item(2, 0)->setCheckState(Qt::Unchecked);
        linesOf(dialog)->item(3, 0)->setCheckState(Qt::Unchecked);
        clickButton(dialog, QStringLiteral("OK"));
    });
    PesquisaLista(&source, QStringLiteral("CODIGO"), QStringLiteral("Filial"), false, list);
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(ListFixture, ProcuraMovesToTheFirstRowBeginningWithTheValue) {
    ScriptedMessages messages;
    auto search = [](const QString &column, const QString &value) {
        onNextModal([=](QWidget *dialog) {
            auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("cbbCampo"));
            combo->setCurrentIndex(combo->findText(column));
            dialog->findChild<QLineEdit *>(QStringLiteral("edtValor"))->setText(value);
            clickButton(dialog, QStringLiteral("OK"));
        });
    };
    search(QStringLiteral("Nome"), QStringLiteral("nome 2"));
    Procura(&rows);
    EXPECT_EQ(rows.recNo(), 2);
    search(QStringLiteral("Código"), QStringLiteral("999"));
    Procura(&rows);
    EXPECT_EQ(rows.recNo(), 2);
    EXPECT_EQ(messages.texts(), QStringList({"Registro não encontrado."}));
}
