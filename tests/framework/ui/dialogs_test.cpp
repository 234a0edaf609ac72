#include "support.h"

#include "framework/core/datasource.h"
#include "framework/ui/dialogs/procura.h"
#include "framework/ui/messages/scriptedmessages.h"

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

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
