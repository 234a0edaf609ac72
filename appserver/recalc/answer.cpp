#include "appserver/recalc/answer.h"
#include "framework/core/money.h"
#include "server_contract/recconpag.h"

namespace {

// Writes a packet a row at a time straight into its columns, texts as UTF-8 and dates and money as
// reals, the way the fields' kinds keep them: an answer has tens of thousands of rows, and going
// through a variant per value would convert each one twice. A value of the wrong kind for its field
// makes packet() throw PacketError.
class ColumnWriter {
public:
    explicit ColumnWriter(const QList<FieldDef> &fields)
        : m_fields(fields)
        , m_columns(fields.size()) {}

    ColumnWriter &operator<<(QByteArrayView utf8) {
        PacketColumn &column = m_columns[m_column++];
        column.text.append(utf8);
        column.ends.append(quint32(column.text.size()));
        return *this;
    }
    ColumnWriter &operator<<(const QByteArray &utf8) { return *this << QByteArrayView(utf8); }
    ColumnWriter &operator<<(const QString &text) { return *this << QByteArrayView(text.toUtf8()); }
    ColumnWriter &operator<<(double value) {
        m_columns[m_column++].reals.append(value);
        return *this;
    }
    void endRow() {
        m_column = 0;
        ++m_rows;
    }
    DataPacket packet() const { return DataPacket::fromColumns(m_fields, m_columns, m_rows); }

private:
    QList<FieldDef> m_fields;
    QList<PacketColumn> m_columns;
    int m_column = 0;
    int m_rows = 0;
};

// The texts every row of a posting repeats, in UTF-8 once per posting.
struct PostingTexts {
    QByteArray number, history, historyText, kind, supplier, reference;

    explicit PostingTexts(const Posting &posting)
        : number(posting.number.toUtf8())
        , history(posting.history.toUtf8())
        , historyText(posting.historyText.toUtf8())
        , kind(posting.isAdjustment() ? "A" : "P")
        , supplier(posting.supplier.toUtf8())
        , reference(posting.reference().toUtf8()) {}
};

class AnswerWriter {
public:
    explicit AnswerWriter(const Ledger &ledger)
        : m_ledger(ledger)
        , m_company(ledger.company.toUtf8())
        , m_companyName(ledger.companyName.toUtf8())
        , m_entries(RecConPag::lancContTempFields())
        , m_splits(RecConPag::rateioFields()) {}

    void add(const Posting &posting) {
        const PostingTexts texts(posting);
        for (const PostingLine &line : posting.lines) {
            const QByteArray sequence = QByteArray::number(line.runSequence);
            const Account account = m_ledger.accounts.value(line.account);
            m_entries << m_company << account.reduced << account.name << texts.number << sequence
                      << line.account << texts.history << texts.historyText << double(posting.day)
                      << fromCents(line.cents) << texts.kind << texts.supplier << m_companyName
                      << texts.reference;
            m_entries.endRow();
            int split = 0;
            for (const Split &part : line.splits) {
                m_splits << part.branch << m_ledger.branches.value(part.branch) << part.costCentre
                         << m_ledger.costCentres.value(part.costCentre) << fromCents(part.cents) << sequence
                         << texts.number << double(posting.day) << m_company << QByteArray::number(++split);
                m_splits.endRow();
            }
        }
    }

    DataPacket entries() const { return m_entries.packet(); }
    DataPacket apportionment() const { return m_splits.packet(); }

private:
    const Ledger &m_ledger;
    QByteArray m_company, m_companyName;
    ColumnWriter m_entries, m_splits;
};

} // namespace

RecalcResult makeAnswer(const QString &status, const QList<Posting> &postings,
                        const QList<PostingError> &errors, const Ledger &ledger) {
    RecalcResult result = emptyAnswer(status);
    AnswerWriter writer(ledger);
    for (const Posting &posting : postings)
        writer.add(posting);
    result.entries = writer.entries();
    result.apportionment = writer.apportionment();
    for (const PostingError &error : errors)
        result.errors.appendRow({error.code, QString::number(error.lineSequence)});
    return result;
}

RecalcResult emptyAnswer(const QString &status) {
    return {status, DataPacket(RecConPag::lancContTempFields()), DataPacket(RecConPag::rateioFields()),
            DataPacket(RecConPag::errosTempFields())};
}
