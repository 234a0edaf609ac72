#include "framework/ui/dialogs/pesquisalista.h"

#include "framework/core/datasource.h"
#include "framework/ui/dialogs/okcancel.h"
#include "server_contract/listargs.h"

#include <QApplication>
#include <QDialog>
#include <QSet>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QList<int> visibleFields(ClientDataSet *rows) {
    QList<int> result;
    const QList<FieldDef> defs = rows->fieldDefs();
    for (int i = 0; i < defs.size(); ++i)
        if (defs[i].visible)
            result.append(i);
    return result;
}

// One checkable line per row: the row's visible fields, the code kept in the first cell's data.
void fillRows(QStandardItemModel &lines, ClientDataSet *rows, int keyIndex, const QSet<QString> &marked,
              bool markAll) {
    const QList<int> shown = visibleFields(rows);
    QStringList titles;
    for (int field : shown) {
        const FieldDef def = rows->field(field)->def();
        titles.append(def.displayLabel.isEmpty() ? def.name : def.displayLabel);
    }
    lines.setHorizontalHeaderLabels(titles);
    const int count = rows->recordCount();
    for (int row = 0; row < count; ++row) {
        const QString code = rows->valueAt(row, keyIndex).toString();
        QList<QStandardItem *> cells;
        for (int field : shown) {
            auto *cell = new QStandardItem(rows->displayTextAt(row, field));
            cell->setEditable(false);
            cells.append(cell);
        }
        if (cells.isEmpty())
            cells.append(new QStandardItem(code));
        cells.front()->setCheckable(true);
        cells.front()->setCheckState(markAll || marked.contains(code) ? Qt::Checked : Qt::Unchecked);
        cells.front()->setData(code, Qt::UserRole);
        lines.appendRow(cells);
    }
}

QStringList checkedCodes(const QStandardItemModel &lines) {
    QStringList codes;
    for (int row = 0; row < lines.rowCount(); ++row) {
        const QStandardItem *first = lines.item(row, 0);
        if (first->checkState() == Qt::Checked)
            codes.append(first->data(Qt::UserRole).toString());
    }
    return codes;
}

// The codes of a list text; a text that is no code list marks nothing.
QStringList markedCodes(const QString &list) {
    try {
        return CodeList::parse(list);
    } catch (const CodeList::FormatError &) {
        return {};
    }
}

} // namespace

void PesquisaLista(DataSource *source, const QString &keyField, const QString &title, bool markAll,
                   QString &list) {
    ClientDataSet *rows = source ? source->dataSet() : nullptr;
    if (!rows || !rows->active())
        return;
    const int keyIndex = rows->fieldByName(keyField)->index();
    const QStringList current = markedCodes(list);
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("dlgPesquisaLista"));
    dialog.setWindowTitle(title);
    QStandardItemModel lines;
    fillRows(lines, rows, keyIndex, QSet<QString>(current.begin(), current.end()), markAll);
    auto *layout = new QVBoxLayout(&dialog);
    auto *view = new QTreeView(&dialog);
    view->setObjectName(QStringLiteral("lstPesquisaLista"));
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setModel(&lines);
    layout->addWidget(view);
    layout->addWidget(okCancelButtons(&dialog));
    dialog.resize(520, 360);
    if (dialog.exec() == QDialog::Accepted)
        list = CodeList::write(checkedCodes(lines));
}
