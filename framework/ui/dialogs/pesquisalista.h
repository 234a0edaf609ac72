#pragma once

#include <QStringList>
#include <functional>
#include <optional>

class DataSource;

// What a caller allows in a multiple choice.
struct ChoiceRules {
    // Why a code cannot be chosen, "" when it can; unset lets every code be chosen. Rows with a
    // refused code are shown greyed, without a check box, and the dialog shows the reason.
    std::function<QString(const QString &code)> refusal;
    // The most codes one choice may hold (0: no limit); "OK" with more shows the limit and keeps
    // the dialog open. hint follows that message (e.g. what to choose instead).
    int maxChosen = 0;
    QString hint;
};

// Modal multiple choice over the rows of a data source, each row identified by its code in
// keyField. It lists the code (with the check box) and the visible fields; the search line above
// shows only the rows in which every typed word appears in the code, a shown text or the value
// behind it, while the user types (Enter or the down arrow goes on to the list). Space or a click
// on the box ticks a row; "Marcar mostrados" and "Desmarcar mostrados" tick and untick every row
// shown; the count of chosen rows is always in sight. The codes of `marked` come up ticked;
// markAll ticks every row at the start.
// Returns the chosen codes in the rows' order on "OK", nothing on "Cancelar"; the dataset's cursor
// is not moved. Object names: dialog "dlgPesquisaLista", search line "edtPesquisa", list
// "lstPesquisaLista", buttons "btnMarcarMostrados" and "btnDesmarcarMostrados", labels
// "lblEscolhidos" and "lblMotivo".
std::optional<QStringList> PesquisaLista(DataSource *source, const QString &keyField, const QString &title,
                                         bool markAll, const QStringList &marked,
                                         const ChoiceRules &rules = {});
