#pragma once

#include <QHash>
#include <QList>
#include <QVariant>

// The cells written over one column: a hash while few rows were written, a dense array once
// many were, so marking every row costs an array store per row rather than a hash node.
class CellOverlay {
public:
    bool isEmpty() const { return m_sparse.isEmpty() && m_written.isEmpty(); }

    const QVariant *find(int row) const {
        if (!m_written.isEmpty())
            return row < m_written.size() && m_written.at(row) ? &m_dense.at(row) : nullptr;
        if (m_sparse.isEmpty())
            return nullptr;
        const auto it = m_sparse.constFind(row);
        return it == m_sparse.constEnd() ? nullptr : &*it;
    }

    void set(int row, QVariant value, int rowCount) {
        if (m_written.isEmpty() && m_sparse.size() < qMax(denseAfter, rowCount / 16)) {
            m_sparse.insert(row, std::move(value));
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
    QList<quint8> m_written;
    QList<QVariant> m_dense;
};
