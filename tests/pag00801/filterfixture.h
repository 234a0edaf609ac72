#pragma once

#include "framework/net/netconnection.h"
#include "pag00801/tfrmfiltrorecctpagar.h"
#include "tests/pag00800/screenfixture.h"

#include <QLineEdit>
#include <QVariantMap>
#include <functional>

// The recalculation screen open in the host with a company typed, from which the tests open the
// filter as the screen does.
class FilterTest : public ScreenTest {
public:
    // Clicks into entry (a real focus change), selects what it holds and types text.
    static void typeInto(QLineEdit *entry, const QString &text);
    // A date as typed into a date entry: today plus days, digits only.
    static QString typedDate(int days);

protected:
    // Opens PAG00800 and types the company code.
    TfrmRecCtPagar *openWithCompany(const QString &company);
    // Opens the filter modally and runs action in it once it is on screen; a dialog that action left
    // open is then closed with Esc.
    void inDialog(const std::function<void(TfrmFiltroRecCtPagar *)> &action);

    // GetCntPagar called over a connection of the test's own with the arguments of a silent first run for
    // company (today - 30 to today + 30 from the demo parameters), changed where overrides say
    // (argument position, from 0, to value).
    DataPacket fetchDirect(const QString &company, const QMap<int, QVariant> &overrides = {});
    // The key of every row of a packet (branch, entry, due sequence, instalment), in order.
    static QStringList payables(const DataPacket &packet);
    // The rows of the recalculation screen's payable dataset, as payables(); none when it is closed.
    QStringList fetchedPayables() const;

private:
    std::unique_ptr<TNetConnection> direct;
};
