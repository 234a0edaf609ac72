#include "filterdata.h"
#include "listsfixture.h"

#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/screens/savedoptions.h"

#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

class OptionsTest : public ListsTest {
protected:
    void SetUp() override {
        ListsTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        SavedOptions::setFileName(folder.filePath(QStringLiteral("opcoes.ini")));
        ASSERT_NE(openWithCompany(FilterData::company), nullptr);
    }
    void TearDown() override {
        SavedOptions::setFileName(QString());
        ListsTest::TearDown();
    }

    // Saves the options as name after prepare has set the open dialog (activation restores the
    // lists from the held criteria, so they are set inside).
    void save(const QString &name, const std::function<void(TfrmFiltroRecCtPagar *)> &prepare = {}) {
        inDialog([&](TfrmFiltroRecCtPagar *filter) {
            if (prepare)
                prepare(filter);
            messages.answerName(name);
            QTest::mouseClick(filter->btfSaveOpc, Qt::LeftButton);
        });
    }
    // Loads name in the open dialog, with lists as they are before, and gives back what it shows.
    QStringList load(const QString &name, const QStringList &lists = {"", "", "", ""}) {
        QStringList state;
        inDialog([&](TfrmFiltroRecCtPagar *filter) {
            setLists(lists);
            messages.answerName(name);
            QTest::mouseClick(filter->btfLoadOpc, Qt::LeftButton);
            state << filter->medNrDocuIni->text() << QString::number(filter->rbtListaForn->isChecked())
                  << QString::number(filter->btnListForn->isEnabled())
                  << QString::number(filter->rbtTipoContLista->isChecked()) << ListaFornecedor
                  << ListaFiliOrig << ListaFiliLanc << ListaTpConta;
        });
        return state;
    }
    static void setLists(const QStringList &lists) {
        ListaFornecedor = lists[0];
        ListaFiliOrig = lists[1];
        ListaFiliLanc = lists[2];
        ListaTpConta = lists[3];
    }
    static QByteArray fileBytes() {
        QFile file(SavedOptions::fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
};

} // namespace

// Options saved with lists come back from the file alone: a host started afresh reads them from disk.
TEST_F(OptionsTest, SavedListsComeBackAfterTheHostIsRestarted) {
    save(QStringLiteral("Março"), [](TfrmFiltroRecCtPagar *filter) {
        filter->rbtListaForn->click();
        filter->rbtTipoContLista->click();
        filter->medNrDocuIni->setText(QStringLiteral("12"));
        setLists({"F9001;F9002", "", "0901", "SERV"});
    });
    const QString restarted = folder.filePath(QStringLiteral("depois.ini"));
    ASSERT_TRUE(QFile::copy(SavedOptions::fileName(), restarted));
    SavedOptions::setFileName(restarted);

    EXPECT_EQ(load(QStringLiteral("Março")),
              QStringList({"12", "1", "1", "1", "F9001;F9002", "", "0901", "SERV"}));
    EXPECT_EQ(messages.texts(), QStringList());
}

// With every group on "Todos"/"Todas" and no list, none of the four names is stored; loading such
// options empties the lists.
TEST_F(OptionsTest, OptionsWithoutListsStoreNoneAndEmptyTheListsOnLoad) {
    save(QStringLiteral("Todos"));
    for (const char *name : {"stFornecedor", "stFiliOrig", "stFiliLanc", "stTpConta"})
        EXPECT_FALSE(fileBytes().contains(name)) << name;
    EXPECT_EQ(load(QStringLiteral("Todos"), {"F9001", "0901", "0902", "MAT"}),
              QStringList({"", "0", "0", "0", "", "", "", ""}));
}

// A damaged entry, or one whose list the server would refuse, is reported and changes nothing.
TEST_F(OptionsTest, DamagedOptionsAreReportedAndChangeNothing) {
    save(QStringLiteral("Boa"), [](TfrmFiltroRecCtPagar *) { setLists({"F9001", "", "", ""}); });
    QStringList values = {QStringLiteral("stFornecedor=F9001;;F9002")};
    SavedOptions::save(QStringLiteral("PAG00801"), QStringLiteral("Lista ruim"), frmFiltroRecCtPagar, values);
    QByteArray bytes = fileBytes();
    ASSERT_TRUE(bytes.contains("stFornecedor=F9001\""));
    bytes.replace("stFornecedor=F9001\"", "stFornecedor=F9002\"");
    QFile file(SavedOptions::fileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    const QStringList before = {"", "0", "0", "0", "0000", "", "", ""};
    EXPECT_EQ(load(QStringLiteral("Boa"), {"0000", "", "", ""}), before);
    EXPECT_EQ(load(QStringLiteral("Lista ruim"), {"0000", "", "", ""}), before);
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("As opções \"Boa\" estão danificadas")));
    EXPECT_EQ(
        messages.texts()[1],
        QStringLiteral(
            "As opções salvas trazem uma lista inválida (stFornecedor): Código inválido na lista: \"\"."));
}
