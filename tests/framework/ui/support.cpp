#include "support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

void onNextModal(std::function<void(QWidget *dialog)> action) {
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [attempt, action](int triesLeft) {
        QTimer::singleShot(0, [attempt, action, triesLeft] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (dialog && dialog->isVisible())
                action(dialog);
            else if (triesLeft > 0)
                (*attempt)(triesLeft - 1);
        });
    };
    (*attempt)(1000);
}

void clickButton(QWidget *dialog, const QString &text) {
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

void declareRows(ClientDataSet &rows) {
    rows.addField({.name = "CODIGO",
                   .kind = FieldKind::Text,
                   .size = 6,
                   .displayLabel = "Código",
                   .alignment = Qt::AlignRight});
    rows.addField({.name = "NOME", .kind = FieldKind::Text, .size = 30, .displayLabel = "Nome"});
    rows.addField(
        {.name = "VALOR", .kind = FieldKind::Float, .displayLabel = "Valor", .displayFormat = "#,##0.00"});
    rows.addField({.name = "IDMARCADO", .kind = FieldKind::Text, .size = 1});
    rows.addField(
        {.name = "ROTULO", .kind = FieldKind::Text, .size = 40, .visible = false, .calculated = true});
    QObject::connect(&rows, &ClientDataSet::calcFields, &rows, [&rows] {
        rows.fieldByName(u"ROTULO")->setAsString(rows.fieldByName(u"CODIGO")->asString() + "-" +
                                                 rows.fieldByName(u"NOME")->asString());
    });
}

void loadRows(ClientDataSet &rows, int count) {
    QList<FieldDef> defs = rows.fieldDefs();
    defs.removeIf([](const FieldDef &def) { return def.calculated; });
    DataPacket packet(defs);
    for (int i = 0; i < count; ++i)
        packet.appendRow({QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')),
                          QStringLiteral("Nome %1").arg(i), i * 1.5, QStringLiteral("N")});
    rows.setData(packet);
}

bool showActive(QWidget *window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}
