#include "support.h"

#include "framework/core/abort.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/radiogroup.h"
#include "framework/ui/focus/focusevents.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "framework/ui/screens/savedoptions.h"
#include "framework/ui/screens/tfrmfiltropadrao.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A filter with one control of each kind the saved options keep.
class RecordingFilter : public TfrmFiltroPadrao {
public:
    QStringList calls;
    QRadioButton *rbtTodosForn;
    QRadioButton *rbtListaForn;
    TDateEditPlus *depVencIni;
    TNumberEdit *nedVrDocuIni;
    QCheckBox *chbAVencer;
    QComboBox *cbbStatus;
    RadioGroup *rdgCtbl;

    RecordingFilter() {
        auto *page = new TabPage(QStringLiteral("tshDocumento"));
        auto *column = new QVBoxLayout(page);
        rbtTodosForn = new QRadioButton(QStringLiteral("Todos"), page);
        rbtTodosForn->setObjectName(QStringLiteral("rbtTodosForn"));
        rbtListaForn = new QRadioButton(QStringLiteral("Lista"), page);
        rbtListaForn->setObjectName(QStringLiteral("rbtListaForn"));
        rbtTodosForn->setChecked(true);
        depVencIni = new TDateEditPlus(QStringLiteral("depVencIni"), page);
        nedVrDocuIni = new TNumberEdit(QStringLiteral("nedVrDocuIni"), page);
        chbAVencer = new QCheckBox(QStringLiteral("A Vencer"), page);
        chbAVencer->setObjectName(QStringLiteral("chbAVencer"));
        cbbStatus = new QComboBox(page);
        cbbStatus->setObjectName(QStringLiteral("cbbStatus"));
        cbbStatus->addItems({"Baixada", "Em Aberto", "Planejada", "Todas"});
        rdgCtbl = new RadioGroup(QStringLiteral("rdgCtbl"), QStringLiteral("Contabilização"), page);
        rdgCtbl->setItems({"Contabilizadas", "Não contabilizadas", "Ambos"});
        for (QWidget *w : std::initializer_list<QWidget *>{rbtTodosForn, rbtListaForn, depVencIni,
                                                           nedVrDocuIni, chbAVencer, cbbStatus, rdgCtbl})
            column->addWidget(w);
        pgcPadrao->addPage(page, QStringLiteral("Documento"));
    }

    void FormCreate() override {
        TfrmFiltroPadrao::FormCreate();
        calls << "FormCreate";
        lblCodTela->setText(QStringLiteral("PAG00801"));
    }
    void FormActivate() override { calls << "FormActivate"; }
    void FormClose(CloseAction &action) override {
        TfrmFiltroPadrao::FormClose(action);
        calls << "FormClose";
    }
    void sbtConfirmaClick() override {
        calls << "sbtConfirmaClick";
        TfrmFiltroPadrao::sbtConfirmaClick();
    }
    void fill() {
        rbtListaForn->setChecked(true);
        depVencIni->setText(QStringLiteral("13/02/2026"));
        nedVrDocuIni->SetNumber(150.25);
        chbAVencer->setChecked(true);
        cbbStatus->setCurrentIndex(1);
        rdgCtbl->setItemIndex(2);
        setOptionValue(optionValues, QStringLiteral("stFornecedor"), QStringLiteral("000012;000047"));
    }
};

class FilterFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        SavedOptions::setFileName(folder.filePath(QStringLiteral("dados/opcoes.ini")));
        SavedOptions::setOperatorProvider([this] { return operatorCode; });
    }
    void TearDown() override { SavedOptions::setOperatorProvider({}); }

    ScriptedMessages messages;
    QTemporaryDir folder;
    QString operatorCode = QStringLiteral("OPER1");
};

} // namespace

TEST_F(FilterFixture, ModalShowingActivatesAndConfirmingCloses) {
    std::unique_ptr<RecordingFilter> filter(TfrmFiltroPadrao::create<RecordingFilter>());
    for (const char *name : {"lblCodTela", "grbFiltroPadrao", "panMenu", "panHelp", "sbtHelp", "panBotoes",
                             "sbtConfirma", "pgcPadrao", "ppmOpcoes", "PopupMenu1", "cdsCarregaOpcoes"})
        EXPECT_NE(filter->findChild<QObject *>(QString::fromLatin1(name)), nullptr) << name;
    onNextModal([&](QWidget *dialog) {
        EXPECT_EQ(dialog, filter.get());
        QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
    });
    EXPECT_EQ(filter->exec(), QDialog::Accepted);
    EXPECT_EQ(filter->calls, QStringList({"FormCreate", "FormActivate", "sbtConfirmaClick", "FormClose"}));

    filter->calls.clear();
    onNextModal([](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(filter->exec(), QDialog::Rejected);
    EXPECT_EQ(filter->calls, QStringList({"FormActivate", "FormClose"}));

    filter->calls.clear();
    filter->sbtConfirmaClick();
    EXPECT_EQ(filter->calls, QStringList({"sbtConfirmaClick", "FormClose"}));
    EXPECT_FALSE(filter->isVisible());
}

TEST_F(FilterFixture, InvalidDateInsideTheModalDialogKeepsTheFocusOnIt) {
    std::unique_ptr<RecordingFilter> filter(TfrmFiltroPadrao::create<RecordingFilter>());
    onFocusExit(filter->depVencIni, [&] {
        try {
            filter->depVencIni->CheckValidDate();
        } catch (const SilentAbort &) {
            filter->depVencIni->setFocus();
            throw;
        }
    });
    QWidget *focusAfterTab = nullptr;
    onNextModal([&](QWidget *dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        filter->depVencIni->setFocus();
        QTest::keyClicks(filter->depVencIni, QStringLiteral("3102"));
        QTest::keyClick(filter->depVencIni, Qt::Key_Tab);
        focusAfterTab = QApplication::focusWidget();
        QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
    });
    EXPECT_EQ(filter->exec(), QDialog::Accepted);
    EXPECT_EQ(focusAfterTab, filter->depVencIni);
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList({"31/02/ não é uma data válida."}));
}

TEST_F(FilterFixture, HelpButtonAndF1ShowTheDialogsHelpContext) {
    std::unique_ptr<RecordingFilter> filter(TfrmFiltroPadrao::create<RecordingFilter>());
    filter->setHelpContext(11911002);
    ASSERT_TRUE(showActive(filter.get()));
    QTest::mouseClick(filter->sbtHelp, Qt::LeftButton);
    filter->nedVrDocuIni->setFocus();
    QTest::keyClick(filter->nedVrDocuIni, Qt::Key_F1);
    EXPECT_EQ(messages.texts(), QStringList({"Não há ajuda instalada para esta tela (contexto 11911002).",
                                             "Não há ajuda instalada para esta tela (contexto 11911002)."}));
}

TEST_F(FilterFixture, SavedOptionsComeBackAfterARestart) {
    {
        std::unique_ptr<RecordingFilter> filter(TfrmFiltroPadrao::create<RecordingFilter>());
        filter->fill();
        messages.answerName(QStringLiteral("Minhas opções/março"));
        QTest::mouseClick(filter->btfSaveOpc, Qt::LeftButton);
        EXPECT_TRUE(messages.unanswered().isEmpty());
    }
    std::unique_ptr<RecordingFilter> filter(TfrmFiltroPadrao::create<RecordingFilter>());
    messages.answerName(QStringLiteral("Minhas opções/março"));
    QTest::mouseClick(filter->btfLoadOpc, Qt::LeftButton);
    EXPECT_EQ(messages.offeredNames(), QStringList({"Minhas opções/março"}));
    ASSERT_EQ(filter->cdsCarregaOpcoes->recordCount(), 1);
    EXPECT_EQ(filter->cdsCarregaOpcoes->fieldByName(u"NMOPCAO")->asString(),
              QStringLiteral("Minhas opções/março"));
    EXPECT_TRUE(filter->rbtListaForn->isChecked());
    EXPECT_FALSE(filter->rbtTodosForn->isChecked());
    EXPECT_EQ(filter->depVencIni->GetDate(), 46066.0);
    EXPECT_EQ(filter->nedVrDocuIni->GetNumber(), 150.25);
    EXPECT_TRUE(filter->chbAVencer->isChecked());
    EXPECT_EQ(filter->cbbStatus->currentIndex(), 1);
    EXPECT_EQ(filter->rdgCtbl->ItemIndex(), 2);
    EXPECT_EQ(optionValue(filter->optionValues, QStringLiteral("stFornecedor")),
              QStringLiteral("000012;000047"));
    EXPECT_TRUE(optionValue(filter->optionValues, QStringLiteral("stFiliOrig")).isEmpty());
}

TEST_F(FilterFixture, OptionsBelongToTheirOperator) {
    std::unique_ptr<RecordingFilter> filter(TfrmFiltroPadrao::create<RecordingFilter>());
    filter->fill();
    messages.answerName(QStringLiteral("padrão"));
    filter->btfSaveOpcClick();
    operatorCode = QStringLiteral("OPER2");
    EXPECT_TRUE(SavedOptions::names(QStringLiteral("PAG00801")).isEmpty());
    QTest::mouseClick(filter->btfLoadOpc, Qt::LeftButton);
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList({"Não há opções salvas."}));
    operatorCode = QStringLiteral("OPER1");
    EXPECT_EQ(SavedOptions::names(QStringLiteral("PAG00801")), QStringList({"padrão"}));
}

// Options whose entry was changed on disk, or whose file lost its end, are reported and not used.
TEST_F(FilterFixture, DamagedOptionsAreReportedAndChangeNothing) {
    std::unique_ptr<RecordingFilter> filter(TfrmFiltroPadrao::create<RecordingFilter>());
    filter->fill();
    messages.answerName(QStringLiteral("padrão"));
    filter->btfSaveOpcClick();
    QFile file(SavedOptions::fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    ASSERT_TRUE(saved.contains("000012;000047"));

    const auto loadAfterWriting = [&](const QByteArray &bytes) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        std::unique_ptr<RecordingFilter> fresh(TfrmFiltroPadrao::create<RecordingFilter>());
        messages.clear();
        messages.answerName(QStringLiteral("padrão"));
        QTest::mouseClick(fresh->btfLoadOpc, Qt::LeftButton);
        EXPECT_TRUE(fresh->rbtTodosForn->isChecked());
        EXPECT_EQ(fresh->depVencIni->GetDate(), 0.0);
        EXPECT_EQ(fresh->cbbStatus->currentIndex(), 0);
        EXPECT_TRUE(fresh->optionValues.isEmpty());
        ASSERT_EQ(messages.textsOf(DialogType::Error).size(), 1);
        EXPECT_TRUE(messages.textsOf(DialogType::Error)
                        .front()
                        .startsWith(QStringLiteral("As opções \"padrão\" estão danificadas no arquivo")))
            << messages.textsOf(DialogType::Error).front().toStdString();
    };
    QByteArray changed = saved;
    changed.replace("000012;000047", "000012;000099;000047");
    loadAfterWriting(changed);
    loadAfterWriting(saved.left(saved.size() - 12));
}

TEST(OptionValues, EmptyValueRemovesTheName) {
    QStringList values;
    setOptionValue(values, QStringLiteral("stFornecedor"), QStringLiteral("1;2"));
    setOptionValue(values, QStringLiteral("stTpConta"), QStringLiteral("X"));
    setOptionValue(values, QStringLiteral("stFornecedor"), QStringLiteral("3"));
    EXPECT_EQ(values, QStringList({"stTpConta=X", "stFornecedor=3"}));
    setOptionValue(values, QStringLiteral("stTpConta"), QString());
    EXPECT_EQ(values, QStringList({"stFornecedor=3"}));
    EXPECT_EQ(optionValue(values, QStringLiteral("stFiliLanc")), QString());
}
