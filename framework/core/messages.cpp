#include "framework/core/messages.h"

TMessages::TMessages(const QStringList &lines) {
    setLines(lines);
}

void TMessages::setLines(const QStringList &lines) {
    m_lines = lines;
    m_texts.clear();
    for (const QString &line : lines) {
        const qsizetype bar = line.indexOf(u'|');
        if (bar < 0)
            continue;
        const QString key = line.left(bar).trimmed().toCaseFolded();
        if (!m_texts.contains(key))
            m_texts.insert(key, line.mid(bar + 1));
    }
}

bool TMessages::contains(const QString &key) const {
    return m_texts.contains(key.trimmed().toCaseFolded());
}

QString TMessages::Msg(const QString &key) const {
    return m_texts.value(key.trimmed().toCaseFolded(), key);
}
