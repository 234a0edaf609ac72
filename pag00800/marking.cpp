#include "pag00800/tfrmrecctpagar.h"

#include "framework/core/abort.h"
#include "framework/ui/messages/showmsg.h"

#include <QLabel>

// The payables to recalculate are marked in the grid: one row by double click or space bar, all rows
// by the title of the marking column. Only rows entered within the company's accounting period can
// be marked or unmarked.

namespace {

const QString marked = QStringLiteral("S");
const QString unmarked = QStringLiteral("N");

// The company's open accounting period, both days included; no period loaded reads as day 0 to 0.
class AccountingPeriod {
public:
    explicit AccountingPeriod(TfrmRecCtPagar &screen)
        : screen(screen)
        , entryDate(screen.cdsCntPagar->fieldByName("DTENTRSAID")) {
        ClientDataSet *period = screen.cdsPerContabil;
        if (period->active() && !period->isEmpty()) {
            start = period->fieldByName("DTINICCTBL")->asDateTime();
            end = period->fieldByName("DTFINACCTBL")->asDateTime();
        }
    }

    // Refuses the current payable with the silent abort when it was entered outside the period.
    void check() const {
        const double entered = entryDate->asDateTime();
        if (entered < start || entered > end)
            MensErro(screen.msgPadrao.Msg(QStringLiteral("Fora_Per_CTB")), true);
    }

private:
    TfrmRecCtPagar &screen;
    Field *entryDate;
    double start = 0;
    double end = 0;
};

void setMark(ClientDataSet *rows, Field *mark, const QString &value) {
    rows->edit();
    mark->setAsString(value);
    rows->post();
}

// Reads the mark of row after row into one buffer, so that walking the rows makes no text per row.
class MarkReader {
public:
    explicit MarkReader(ClientDataSet *rows)
        : mark(rows->fieldByName("IDMARCADO")) {}

    Field *field() const { return mark; }
    bool currentIs(const QString &flag) {
        text.truncate(0); // keeps the buffer's capacity, unlike clear()
        mark->appendAsString(text);
        return text == flag;
    }

private:
    Field *mark;
    QString text;
};

// Marks every unmarked row from the current one on. The first row outside the period stops the
// run; the rows marked before it stay marked.
void markRows(TfrmRecCtPagar &screen) {
    ClientDataSet *rows = screen.cdsCntPagar;
    MarkReader mark(rows);
    const AccountingPeriod period(screen);
    for (; !rows->eof(); rows->next()) {
        if (!mark.currentIs(unmarked))
            continue;
        period.check();
        setMark(rows, mark.field(), marked);
    }
}

void unmarkRows(ClientDataSet *rows) {
    MarkReader mark(rows);
    for (; !rows->eof(); rows->next()) {
        if (mark.currentIs(marked))
            setMark(rows, mark.field(), unmarked);
    }
}

bool isMarkingColumn(DataGrid *grid, int column) {
    const Field *field = grid->fieldOf(column);
    return field && field->name() == u"IDMARCADO";
}

} // namespace

// Toggles the current row's mark; any flag other than "S" becomes "S".
void TfrmRecCtPagar::dbgPadraoDblClick() {
    if (cdsCntPagar->isEmpty())
        return;
    AccountingPeriod(*this).check();
    Field *mark = cdsCntPagar->fieldByName("IDMARCADO");
    setMark(cdsCntPagar, mark, mark->asString() == marked ? unmarked : marked);
}

// The space bar toggles the row, whatever modifier keys are held.
void TfrmRecCtPagar::dbgPadraoKeyDown(int &key, Qt::KeyboardModifiers shift) {
    TfrmPadrao::dbgPadraoKeyDown(key, shift);
    if (key == Qt::Key_Space)
        dbgPadraoDblClick();
}

// The marking column's title marks all rows, or unmarks them all when some row is marked, after a
// question. The grid is not repainted and no adjustments are fetched row by row: the rows are
// walked with the controls disabled and the after-scroll fetch detached, and one fetch for the
// first row follows. Other titles do nothing (the grid does not sort).
void TfrmRecCtPagar::dbgPadraoTitleClick(int column) {
    if (!isMarkingColumn(dbgPadrao, column) || !cdsCntPagar->active())
        return;
    cdsCntPagar->disableControls();
    detachAfterScroll();
    const auto endBulkWork = [this] {
        cdsCntPagar->enableControls();
        Bot_Confirma();
    };
    const auto backToFirstRow = [this, &endBulkWork] {
        attachAfterScroll();
        try {
            cdsCntPagar->first();
        } catch (...) {
            endBulkWork();
            throw;
        }
        endBulkWork();
    };
    try {
        const bool unmarking = markedSet() && markedSet()->Count() > 0;
        const QString question = unmarking ? QStringLiteral("DESMARCA_CONTA") : QStringLiteral("MARCA_CONTA");
        if (ShowMsg(msgPadrao, question, DialogType::Confirmation, DialogButton::Yes | DialogButton::No, 0) ==
            ResultYes) {
            repaint();
            cdsCntPagar->first();
            if (unmarking)
                unmarkRows(cdsCntPagar);
            else
                markRows(*this);
        }
    } catch (...) {
        backToFirstRow();
        throw;
    }
    backToFirstRow();
    cdsCntPagarAfterPost();
}

// Draws a ticked or an empty box over the cells of the marking column.
void TfrmRecCtPagar::dbgPadraoDrawColumnCell(const QRect &rect, int column, int viewRow) {
    if (!cdsCntPagar->active() || cdsCntPagar->isEmpty() || cdsCntPagar->state() != DataSetState::Browse ||
        !isMarkingColumn(dbgPadrao, column))
        return;
    const Field *mark = dbgPadrao->fieldOf(column);
    const bool ticked = cdsCntPagar->valueAt(viewRow, mark->index()).toString() == marked;
    InsereImagem(dbgPadrao, rect, (ticked ? ImgCheck : imgUnCheck)->pixmap(), colorOf(32896));
}
