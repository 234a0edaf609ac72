#pragma once

#include "filterfixture.h"

#include <QString>
#include <QStringList>

class TBtnPesquisa;

// The filter tests of the list groups: after each test the held criteria and the four list texts
// are the defaults again, whatever the test confirmed.
class ListsTest : public FilterTest {
protected:
    void TearDown() override;

    // Clicks a search button and, in the picker, finds each code by typing it and ticks it; then
    // "OK". Returns the codes the picker showed ticked when it opened.
    static QStringList pick(TBtnPesquisa *button, const QStringList &codes);
    // Makes the dialog the active window, so that it has the focus and its shortcuts (a modal
    // dialog shown on the offscreen platform does not always take the focus from the host).
    static bool activate(QWidget *dialog);
    // Confirms the open filter (the fetch into the recalculation screen).
    static void confirm(TfrmFiltroRecCtPagar *filter);
};
