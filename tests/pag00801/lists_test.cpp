#include "filterdata.h"
#include "listsfixture.h"

#include "appserver/db/database.h"
#include "framework/session/dbgeral.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/pagecontrol.h"
#include "server_contract/recconpag.h"
#include "tests/framework/ui/support.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>


using namespace RecConPag;

namespace {

// One list group of the filter with a code of company 09 that only one of its payables has.
struct Group {
    const char *name;
    QRadioButton *TfrmFiltroRecCtPagar::*all;
    QRadioButton *TfrmFiltroRecCtPagar::*lista;
    TBtnPesquisa *TfrmFiltroRecCtPagar::*button;
    QString *list;
    int flagArg;
    int listArg;
    QString code;
};

QList<Group> groups() {
    using F = TfrmFiltroRecCtPagar;
    return {{"fornecedor", &F::rbtTodosForn, &F::rbtListaForn, &F::btnListForn, &ListaFornecedor,
             ArgListaForn, ArgFornecedores, QStringLiteral("F9002")},
            {"filial origem", &F::rbtTodasFiliOrig, &F::rbtListaFiliOrig, &F::btnFiliOrig, &ListaFiliOrig,
             ArgListaFiliOrig, ArgFiliOrig, QStringLiteral("0902")},
            {"filial lançamento", &F::rbtTodasFiliLanc, &F::rbtListaFiliLanc, &F::btnFiliLanc, &ListaFiliLanc,
             ArgListaFiliLanc, ArgFiliLanc, QStringLiteral("0901")},
            {"tipo de conta", &F::rbtTodosTipoCont, &F::rbtTipoContLista, &F::btnTpConta, &ListaTpConta,
             ArgListaTpConta, ArgTiposConta, QStringLiteral("SERV")}};
}

} // namespace

// Each picker's codes reach GetCntPagar: the server returns the one payable of that code; with
// "Todos"/"Todas" again it returns them all while the list stays, and "Lista" again without a new
// choice restricts to it once more.
TEST_F(ListsTest, ChosenCodesReachTheServerAndStayWhenTodosIsChosenAgain) {
    ASSERT_NE(openWithCompany(FilterData::company), nullptr);
    const QStringList every = payables(fetchDirect(FilterData::company));
    ASSERT_GT(every.size(), 2);
    for (const Group &group : groups()) {
        SCOPED_TRACE(group.name);
        const QStringList restricted =
            payables(fetchDirect(FilterData::company, {{group.flagArg, true}, {group.listArg, group.code}}));
        ASSERT_EQ(restricted.size(), 1);
        QStringList tickedAtStart;
        bool searchUsableWithLista = false;
        inDialog([&](TfrmFiltroRecCtPagar *filter) {
            EXPECT_FALSE((filter->*group.button)->isEnabled());
            (filter->*group.lista)->click();
            searchUsableWithLista = (filter->*group.button)->isEnabled();
            pick(filter->*group.button, {group.code});
            confirm(filter);
        });
        EXPECT_TRUE(searchUsableWithLista);
        EXPECT_EQ(*group.list, group.code);
        EXPECT_EQ(fetchedPayables(), restricted);

        inDialog([&](TfrmFiltroRecCtPagar *filter) {
            (filter->*group.all)->click();
            EXPECT_FALSE((filter->*group.button)->isEnabled());
            confirm(filter);
        });
        EXPECT_EQ(fetchedPayables(), every);
        EXPECT_EQ(*group.list, group.code);

        inDialog([&](TfrmFiltroRecCtPagar *filter) {
            EXPECT_TRUE((filter->*group.all)->isChecked());
            (filter->*group.lista)->click();
            tickedAtStart = pick(filter->*group.button, {});
            confirm(filter);
        });
        EXPECT_EQ(tickedAtStart, QStringList{group.code}) << "the kept list comes up ticked";
        EXPECT_EQ(fetchedPayables(), restricted);
        inDialog([&](TfrmFiltroRecCtPagar *filter) {
            (filter->*group.all)->click();
            confirm(filter);
        });
    }
    EXPECT_EQ(messages.texts(), QStringList());
}

// A table without rows: its message, its page in front, the focus on "Todos"/"Todas", no picker
// (one would wait for an answer), the list unchanged. The tables are read from an empty database of the same
// schema.
TEST_F(ListsTest, EmptyTableShowsItsMessageOnItsPageWithTheFocusOnTodos) {
    ASSERT_NE(openWithCompany(FilterData::company), nullptr);
    const QString serverDatabase = dtmDBGeral()->displayUrl();
    QTemporaryDir folder;
    const QString emptyDatabase = QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("vazio.sqlite"));
    {
        QSqlDatabase db = openDatabase(emptyDatabase, QStringLiteral("empty.schema"));
        migrate(db);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("empty.schema"));
    dtmDBGeral()->open(emptyDatabase);
    struct Seen {
        QWidget *page;
        QWidget *focus;
    };
    QList<Seen> seen;
    inDialog([&](TfrmFiltroRecCtPagar *filter) {
        ASSERT_TRUE(activate(filter));
        ListaTpConta = QStringLiteral("MAT");
        for (const Group &group : groups()) {
            (filter->*group.lista)->click();

            // The other page in front, the focus away from the group.
            filter->pgcPadrao->setActivePage(filter->pgcPadrao->ActivePage() == filter->tshDocumento
                                                 ? static_cast<QWidget *>(filter->tshDadosRecber)
                                                 : filter->tshDocumento);
            filter->sbtConfirma->setFocus();

            (filter->*group.button)->click();
            seen << Seen{filter->pgcPadrao->ActivePage(), QApplication::focusWidget()};
        }
    });
    dtmDBGeral()->open(serverDatabase);
    ASSERT_EQ(seen.size(), 4);
    TfrmFiltroRecCtPagar *filter = frmFiltroRecCtPagar;
    EXPECT_EQ(seen[0].page, filter->tshDocumento);
    EXPECT_EQ(seen[0].focus, filter->rbtTodosForn);
    EXPECT_EQ(seen[1].page, filter->tshDocumento);
    EXPECT_EQ(seen[1].focus, filter->rbtTodasFiliOrig);
    EXPECT_EQ(seen[2].page, filter->tshDocumento);
    EXPECT_EQ(seen[2].focus, filter->rbtTodasFiliLanc);
    EXPECT_EQ(seen[3].page, filter->tshDadosRecber);
    EXPECT_EQ(seen[3].focus, filter->rbtTodosTipoCont);
    EXPECT_EQ(messages.texts(),
              QStringList({"Não há fornecedor cadastrado.", "Não há filial cadastrada.",
                           "Não há filial cadastrada.", "Não há tipo de conta a pagar cadastrado."}));
    EXPECT_EQ(ListaTpConta, QStringLiteral("MAT"));
}

// The supplier picker: registration numbers through the mask of the person type (as stored when
// they do not fit it), and a code that no list can carry shown but not choosable, with the reason.
TEST_F(ListsTest, SupplierPickerMasksRegistrationsAndRefusesCodesNoListCarries) {
    ASSERT_NE(openWithCompany(FilterData::company), nullptr);
    FilterData::execute(QStringLiteral("INSERT INTO FORNECEDOR (CDFORNECED, NMRAZSOCFORN, IDTPIJURFORN,"
                                       " NRINSJURFORN) VALUES ('X Y', 'Código com espaço', 'J', '123')"));
    QSqlQuery stored(dtmDBGeral()->database());
    stored.exec(QStringLiteral("SELECT CDFORNECED, IDTPIJURFORN, NRINSJURFORN FROM FORNECEDOR"
                               " WHERE CDFORNECED IN ('000001', '000007')"));
    QMap<QString, QString> raw;
    while (stored.next())
        raw[stored.value(0).toString()] = stored.value(2).toString();
    ASSERT_EQ(raw.size(), 2);

    QMap<QString, QString> shown;
    QString title, reason;
    bool refusedTickable = true;
    inDialog([&](TfrmFiltroRecCtPagar *filter) {
        filter->rbtListaForn->click();
        onNextModal([&](QWidget *picker) {
            title = picker->windowTitle();
            auto *list = picker->findChild<QTreeView *>(QStringLiteral("lstPesquisaLista"));
            QAbstractItemModel *model = list->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                const QString code = model->index(row, 0).data().toString();
                if (raw.contains(code) || code == QStringLiteral("X Y"))
                    shown[code] = model->index(row, 1).data().toString();
                if (code == QStringLiteral("X Y")) {
                    list->setCurrentIndex(model->index(row, 0));
                    reason = picker->findChild<QLabel *>(QStringLiteral("lblMotivo"))->text();
                    refusedTickable = model->flags(model->index(row, 0)) & Qt::ItemIsUserCheckable;
                }
            }
            clickButton(picker, QStringLiteral("Marcar mostrados"));
            clickButton(picker, QStringLiteral("OK"));
        });
        QTest::mouseClick(filter->btnListForn, Qt::LeftButton);
    });
    EXPECT_EQ(title, QStringLiteral("Fornecedor"));
    EXPECT_EQ(raw["000001"].size(), 14) << "a company: CNPJ";
    EXPECT_EQ(shown["000001"], raw["000001"].mid(0, 2) + u'.' + raw["000001"].mid(2, 3) + u'.' +
                                   raw["000001"].mid(5, 3) + u'/' + raw["000001"].mid(8, 4) + u'-' +
                                   raw["000001"].mid(12));
    EXPECT_EQ(raw["000007"].size(), 11) << "a person: CPF";
    EXPECT_EQ(shown["000007"], raw["000007"].mid(0, 3) + u'.' + raw["000007"].mid(3, 3) + u'.' +
                                   raw["000007"].mid(6, 3) + u'-' + raw["000007"].mid(9));
    EXPECT_EQ(shown["X Y"], QStringLiteral("123"));
    EXPECT_FALSE(refusedTickable);
    EXPECT_EQ(reason, QStringLiteral("Não pode ser escolhido: o código \"X Y\" tem espaço em branco, o que a "
                                     "lista do filtro não aceita."));
    EXPECT_FALSE(ListaFornecedor.contains(QStringLiteral("X Y")));
    EXPECT_TRUE(ListaFornecedor.startsWith(QStringLiteral("000001;000002;")));
}
