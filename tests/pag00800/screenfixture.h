#pragma once

#include "pag00800/tfrmrecctpagar.h"

#include "framework/core/datapacket.h"
#include "framework/ui/messages/scriptedmessages.h"
#include "host/mainwindow.h"

#include <gtest/gtest.h>
#include <memory>

// The host's main window, shown and active, from which tests open PAG00800 as its menu does.
// Messages are recorded instead of shown.
class ScreenTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens PAG00800 through the host and returns the screen.
    TfrmRecCtPagar *openScreen();
    // Types the company into the code and moves to the grid, as a user does: the screen leaves
    // company entry and loads the company's payables.
    static void browse(TfrmRecCtPagar *screen, const QString &company);
    // Closes the screen, if open, and lets its window be destroyed.
    void closeScreen();
    static void destroyClosedWindows();

    // The payables of a company, fetched from the server with GetCntPagar over the screen's connection.
    static DataPacket fetchPayables(TfrmRecCtPagar *screen, const QString &company);
    // A packet of payable rows: every field empty except the ones given.
    static DataPacket payableRows(const QList<QVariantMap> &rows);

    ScriptedMessages messages;
    std::unique_ptr<HostMainWindow> host;
};
