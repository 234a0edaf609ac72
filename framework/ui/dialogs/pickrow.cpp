#include "framework/ui/dialogs/pickrow.h"

#include "framework/core/datasource.h"
#include "framework/ui/dialogs/okcancel.h"
#include "framework/ui/grid/dbgrid.h"
#include "framework/ui/messages/guard.h"

#include <QApplication>
#include <QDialog>
#include <QVBoxLayout>

bool pickRow(DataSource *source, const QString &title) {
    ClientDataSet *rows = source ? source->dataSet() : nullptr;
    if (!rows || !rows->active())
        return false;
    const int startRow = rows->recNo();
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("dlgPickRow"));
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *grid = new DataGrid(QStringLiteral("dbgPickRow"), &dialog);
    grid->setDataSource(source);
    layout->addWidget(grid);
    layout->addWidget(okCancelButtons(&dialog));
    QObject::connect(grid, &DataGrid::dblClick, &dialog, &QDialog::accept);
    QObject::connect(grid, &DataGrid::keyDown, &dialog, [&dialog](int &key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            key = 0;
            dialog.accept();
        }
    });
    dialog.resize(480, 320);
    if (dialog.exec() == QDialog::Accepted && !rows->isEmpty())
        return true;
    if (rows->active() && startRow >= 0 && startRow < rows->recordCount())
        rows->setRecNo(startRow);
    return false;
}
