#pragma once

#include "ctb10200/tfrmpreviacontabil.h"

#include "framework/core/datapacket.h"
#include "framework/core/datasource.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "host/mainwindow.h"
#include "tests/support/sessionenvironment.h"

#include <QSqlDatabase>
#include <gtest/gtest.h>
#include <memory>

// The host's main window, shown and active, over the real server of the run, whose database the
// tests write their documents into. Messages are recorded instead of shown.
class PreviewTest : public testing::Test {
public:
protected:
    void SetUp() override;
    void TearDown() override;

    // A document of supplier 000001 (account 2.1.1.01) entered today, number `entry` of branch 0101,
    // with one instalment of `cents` of the account type, apportioned 60% to branch 0101 / cost centre
    // 0001 and 40% to 0102 / 0002.
    void addInstalment(const QString &entry, const QString &type, qint64 cents);
    // Recalculates that instalment as admin; the answer of SetConfirmar.
    QVariantList confirm(const QString &entry);
    // The posting number the instalment got.
    QString postingNumber(const QString &entry);

    // The five elements of a hand-off.
    static QVariantList handOff(const QString &company, const QString &number, const DataPacket &entries,
                                const DataPacket &apportionment, const DataPacket &errors);
    // A hand-off of the three scratch packets without rows.
    static QVariantList emptyHandOff(const QString &company, const QString &number);
    // Opens the preview through the package loader, as the recalculation screen does, under a handler
    // guard; returns the open preview (null when none is open).
    TfrmPreviaContabil *open(const QVariantList &params);
    void closePreview();

    // The texts shown in a grid column, by its title.
    static QStringList column(DataGrid *grid, const QString &title);

    QSqlDatabase db;
    ScriptedMessages messages;
    std::unique_ptr<HostMainWindow> host;
};
