#include "framework/ui/dialogs/pesquisalista.h"

#include "framework/core/datasource.h"
#include "framework/ui/dialogs/choicemodel.h"
#include "framework/ui/dialogs/okcancel.h"
#include "framework/ui/messages/messageservice.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Runs a handler for the keys it takes from one widget; the others go on as usual.
class KeyTap : public QObject {
public:
    KeyTap(QWidget *widget, std::function<bool(int key)> handler)
        : QObject(widget)
        , m_handler(std::move(handler)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        return event->type() == QEvent::KeyPress && m_handler(static_cast<QKeyEvent *>(event)->key());
    }

private:
    std::function<bool(int key)> m_handler;
};

class ChoiceDialog : public QDialog {
public:
    ChoiceDialog(ClientDataSet *rows, int keyField, const QString &title, const ChoiceRules &rules)
        : QDialog(QApplication::activeWindow())
        , m_rules(rules)
        , m_model(rows, keyField, rules.refusal, this) {
        setObjectName(QStringLiteral("dlgPesquisaLista"));
        setWindowTitle(title);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(buildSearch());
        layout->addWidget(buildList());
        layout->addLayout(buildChoiceRow());
        m_reason = new QLabel(this);
        m_reason->setObjectName(QStringLiteral("lblMotivo"));
        m_reason->setWordWrap(true);
        layout->addWidget(m_reason);
        layout->addWidget(okCancelButtons(this));
        m_model.chosenChanged = [this] { showCount(); };
        showCount();
        showReason();
        resize(640, 420);
        m_search->setFocus();
    }

    ChoiceModel &model() { return m_model; }

    void accept() override {
        if (m_rules.maxChosen > 0 && m_model.chosenCount() > m_rules.maxChosen) {
            QString text = QStringLiteral("Escolha no máximo %L1 itens; há %L2 escolhidos.")
                               .arg(m_rules.maxChosen)
                               .arg(m_model.chosenCount());
            if (!m_rules.hint.isEmpty())
                text += u' ' + m_rules.hint;
            MessageService::current().warning(text);
            return;
        }
        QDialog::accept();
    }

private:
    QWidget *buildSearch() {
        m_search = new QLineEdit(this);
        m_search->setObjectName(QStringLiteral("edtPesquisa"));
        m_search->setPlaceholderText(QStringLiteral("Procurar: parte do código ou de qualquer coluna"));
        m_search->setClearButtonEnabled(true);
        connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) {
            m_model.search(text);
            showCount();
        });
        new KeyTap(m_search, [this](int key) {
            if (key != Qt::Key_Down && key != Qt::Key_Return && key != Qt::Key_Enter)
                return false;
            goToList();
            return true;
        });
        return m_search;
    }

    QWidget *buildList() {
        m_list = new QTreeView(this);
        m_list->setObjectName(QStringLiteral("lstPesquisaLista"));
        m_list->setRootIsDecorated(false);
        m_list->setUniformRowHeights(true);
        m_list->setAllColumnsShowFocus(true);
        m_list->setModel(&m_model);
        const QList<int> sizes = m_model.columnSizes();
        const int charWidth = m_list->fontMetrics().averageCharWidth();
        for (int column = 0; column < sizes.size(); ++column) {
            const int title = m_list->header()->fontMetrics().horizontalAdvance(
                m_model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
            m_list->header()->resizeSection(column,
                                            std::max(title, charWidth * std::min(sizes[column], 40)) + 32);
        }
        connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this] { showReason(); });
        connect(&m_model, &QAbstractItemModel::modelReset, this, [this] { showReason(); });
        new KeyTap(m_list, [this](int key) {
            if (key != Qt::Key_Space)
                return false;
            m_model.toggle(m_list->currentIndex().row());
            return true;
        });
        return m_list;
    }

    QHBoxLayout *buildChoiceRow() {
        auto *row = new QHBoxLayout;
        for (const bool chosen : {true, false}) {
            auto *button = new QPushButton(
                chosen ? QStringLiteral("Marcar mostrados") : QStringLiteral("Desmarcar mostrados"), this);
            button->setObjectName(chosen ? QStringLiteral("btnMarcarMostrados")
                                         : QStringLiteral("btnDesmarcarMostrados"));
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, chosen] { m_model.setShownChosen(chosen); });
            row->addWidget(button);
        }
        row->addStretch();
        m_count = new QLabel(this);
        m_count->setObjectName(QStringLiteral("lblEscolhidos"));
        row->addWidget(m_count);
        return row;
    }

    void goToList() {
        m_list->setFocus();
        if (!m_list->currentIndex().isValid() && m_model.rowCount() > 0)
            m_list->setCurrentIndex(m_model.index(0, 0));
    }

    void showCount() {
        QString text =
            QStringLiteral("%L1 de %L2 escolhidos").arg(m_model.chosenCount()).arg(m_model.totalCount());
        if (m_model.rowCount() != m_model.totalCount())
            text += QStringLiteral(" · %L1 mostrados").arg(m_model.rowCount());
        m_count->setText(text);
    }

    // The reason of the current row when it cannot be chosen, else how many rows cannot be.
    void showReason() {
        const QString reason = m_model.refusalAt(m_list->currentIndex().row());
        const int refused = m_model.refusedCount();
        if (!reason.isEmpty())
            m_reason->setText(QStringLiteral("Não pode ser escolhido: %1").arg(reason));
        else if (refused == 1)
            m_reason->setText(
                QStringLiteral("1 linha em cinza não pode ser escolhida; selecione-a para ver o motivo."));
        else if (refused > 1)
            m_reason->setText(
                QStringLiteral(
                    "%L1 linhas em cinza não podem ser escolhidas; selecione uma para ver o motivo.")
                    .arg(refused));
        m_reason->setVisible(!reason.isEmpty() || refused > 0);
    }

    ChoiceRules m_rules;
    ChoiceModel m_model;
    QLineEdit *m_search = nullptr;
    QTreeView *m_list = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_reason = nullptr;
};

} // namespace

std::optional<QStringList> PesquisaLista(DataSource *source, const QString &keyField, const QString &title,
                                         bool markAll, const QStringList &marked, const ChoiceRules &rules) {
    ClientDataSet *rows = source ? source->dataSet() : nullptr;
    if (!rows || !rows->active())
        return std::nullopt;
    ChoiceDialog dialog(rows, rows->fieldByName(keyField)->index(), title, rules);
    if (markAll)
        dialog.model().setShownChosen(true);
    else
        dialog.model().choose(marked);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.model().chosenCodes();
}
