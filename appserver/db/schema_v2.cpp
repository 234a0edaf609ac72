#include "appserver/db/migrations_p.h"

// Adjustments are numbered from 1: a posting's adjustment number 0 means the instalment's own posting.
// Rows stored before stay as they are and readable; new rows and changed numbers are checked. SQLite
// cannot add a constraint to a table, so triggers refuse; PostgreSQL checks without validating the old
// rows (NOT VALID).
Migration adjustmentNumbersFromOne(int version) {
    return {version,
            QStringLiteral("ajustes numerados a partir de 1"),
            {},
            {R"(CREATE TRIGGER TR_AJCTPAGAR_NUMERO_INS BEFORE INSERT ON AJCTPAGAR
                WHEN NEW.NRSEQAJUPAG < 1
                BEGIN SELECT RAISE(ABORT, 'AJCTPAGAR.NRSEQAJUPAG deve ser maior que zero'); END)",
             R"(CREATE TRIGGER TR_AJCTPAGAR_NUMERO_UPD BEFORE UPDATE OF NRSEQAJUPAG ON AJCTPAGAR
                WHEN NEW.NRSEQAJUPAG < 1
                BEGIN SELECT RAISE(ABORT, 'AJCTPAGAR.NRSEQAJUPAG deve ser maior que zero'); END)"},
            {"ALTER TABLE AJCTPAGAR ADD CONSTRAINT CK_AJCTPAGAR_NUMERO CHECK (NRSEQAJUPAG > 0) NOT VALID"}};
}
