#pragma once

#include <QHash>
#include <QList>
#include <QVariant>
#include <array>

// The cells written over one column: a hash while few rows were written, a dense array once many
// were, so marking every row costs an array store per row rather than a hash node. While every cell
// written is a one-character flag (or an empty or null text), the dense array holds one byte per
// row instead of a variant: no variant is kept per marked row, and the column stays small in cache.
class CellOverlay {
public:
    bool isEmpty() const { return m_sparse.isEmpty() && m_codes.isEmpty() && m_written.isEmpty(); }

    bool contains(int row) const {
        if (!m_codes.isEmpty())
            return row < m_codes.size() && m_codes.at(row) != unwritten;
        if (!m_written.isEmpty())
            return row < m_written.size() && m_written.at(row);
        return !m_sparse.isEmpty() && m_sparse.contains(row);
    }

    // The cell written at row; call only where contains(row).
    QVariant value(int row) const {
        if (!m_codes.isEmpty())
            return valueOf(m_codes.at(row));
        if (!m_written.isEmpty())
            return m_dense.at(row);
        return m_sparse.value(row);
    }

    // The text of the cell written at row; a flag's text shares static characters, so reading it
    // allocates nothing.
    QString text(int row) const {
        if (!m_codes.isEmpty())
            return textOf(m_codes.at(row));
        return value(row).toString();
    }

    void set(int row, QVariant value, int rowCount) {
        const quint8 code = codeOf(value);
        if (!m_codes.isEmpty()) {
            if (code != unwritten) {
                setCode(row, code, rowCount);
                return;
            }
            unpackCodes();
        }
        // A packed column is smaller than the hash of a sixty-fourth of its rows.
        const int sparseLimit = qMax(denseAfter, rowCount / (code == unwritten ? 16 : 64));
        if (m_written.isEmpty() && m_sparse.size() < sparseLimit) {
            m_sparse.insert(row, std::move(value));
            return;
        }
        if (m_written.isEmpty() && code != unwritten && packsSparse()) {
            packSparse(rowCount);
            setCode(row, code, rowCount);
            return;
        }
        if (m_written.isEmpty())
            makeDense(rowCount);
        if (row >= m_written.size()) {
            m_written.resize(qMax(row + 1, rowCount));
            m_dense.resize(m_written.size());
        }
        m_written[row] = 1;
        m_dense[row] = std::move(value);
    }

private:
    static constexpr int denseAfter = 64;
    // Codes of the packed array: a Latin-1 character stands for itself from firstCharacter on.
    static constexpr quint8 unwritten = 0;
    static constexpr quint8 nullCell = 1;
    static constexpr quint8 nullText = 2;
    static constexpr quint8 emptyText = 3;
    static constexpr quint8 firstCharacter = 4;

    // The code of a value, or unwritten when it needs a variant of its own.
    static quint8 codeOf(const QVariant &value) {
        if (!value.isValid())
            return nullCell;
        if (value.typeId() != QMetaType::QString)
            return unwritten;
        const QString &text = *static_cast<const QString *>(value.constData());
        if (text.isNull())
            return nullText;
        if (text.isEmpty())
            return emptyText;
        const char16_t character = text.front().unicode();
        return text.size() == 1 && character >= firstCharacter && character < 256 ? quint8(character)
                                                                                  : unwritten;
    }

    static QString textOf(quint8 code) {
        static constexpr auto characters = [] {
            std::array<char16_t, 256> all{};
            for (int c = 0; c < 256; ++c)
                all[c] = char16_t(c);
            return all;
        }();
        if (code == nullCell || code == nullText)
            return {};
        return QString::fromRawData(reinterpret_cast<const QChar *>(&characters[code]),
                                    code == emptyText ? 0 : 1);
    }

    static QVariant valueOf(quint8 code) { return code == nullCell ? QVariant() : QVariant(textOf(code)); }

    bool packsSparse() const {
        for (const QVariant &value : m_sparse) {
            if (codeOf(value) == unwritten)
                return false;
        }
        return true;
    }

    void setCode(int row, quint8 code, int rowCount) {
        if (row >= m_codes.size())
            m_codes.resize(qMax(row + 1, rowCount), unwritten);
        m_codes[row] = code;
    }

    void packSparse(int rowCount) {
        m_codes = QList<quint8>(rowCount, unwritten);
        for (auto it = m_sparse.cbegin(); it != m_sparse.cend(); ++it)
            setCode(it.key(), codeOf(it.value()), rowCount);
        m_sparse.clear();
    }

    void unpackCodes() {
        m_written = QList<quint8>(m_codes.size(), 0);
        m_dense = QList<QVariant>(m_codes.size());
        for (qsizetype row = 0; row < m_codes.size(); ++row) {
            if (m_codes.at(row) == unwritten)
                continue;
            m_written[row] = 1;
            m_dense[row] = valueOf(m_codes.at(row));
        }
        m_codes = {};
    }

    void makeDense(int rowCount) {
        m_written = QList<quint8>(rowCount, 0);
        m_dense = QList<QVariant>(rowCount);
        for (auto it = m_sparse.cbegin(); it != m_sparse.cend(); ++it) {
            m_written[it.key()] = 1;
            m_dense[it.key()] = it.value();
        }
        m_sparse.clear();
    }

    QHash<int, QVariant> m_sparse;
    QList<quint8> m_codes; // packed: one code per row
    QList<quint8> m_written;
    QList<QVariant> m_dense;
};
