#include "framework/ui/dialogs/procura.h"

#include "framework/core/dataset.h"
#include "framework/ui/dialogs/okcancel.h"
#include "framework/ui/messages/messageservice.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>

int findRow(ClientDataSet *rows, int fieldIndex, const QString &value) {
    const int count = rows->recordCount();
    for (int row = 0; row < count; ++row)
        if (rows->displayTextAt(row, fieldIndex).startsWith(value, Qt::CaseInsensitive))
            return row;
    return -1;
}

void Procura(ClientDataSet *rows) {
    if (!rows || !rows->active())
        return;
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("dlgProcura"));
    dialog.setWindowTitle(QStringLiteral("Procurar"));
    auto *form = new QFormLayout(&dialog);
    auto *column = new QComboBox(&dialog);
    column->setObjectName(QStringLiteral("cbbCampo"));
    const QList<FieldDef> defs = rows->fieldDefs();
    for (int i = 0; i < defs.size(); ++i)
        if (defs[i].visible)
            column->addItem(defs[i].displayLabel.isEmpty() ? defs[i].name : defs[i].displayLabel, i);
    auto *value = new QLineEdit(&dialog);
    value->setObjectName(QStringLiteral("edtValor"));
    form->addRow(QStringLiteral("Campo"), column);
    form->addRow(QStringLiteral("Valor"), value);
    form->addRow(okCancelButtons(&dialog));
    if (dialog.exec() != QDialog::Accepted || column->currentIndex() < 0)
        return;
    const int row = findRow(rows, column->currentData().toInt(), value->text());
    if (row < 0)
        MessageService::current().info(QStringLiteral("Registro não encontrado."));
    else
        rows->setRecNo(row);
}
