#pragma once

#include <QHash>
#include <QString>

// Numbers names from 0 on so that names equal ignoring letter case (as QString::toCaseFolded
// folds them) share a number.
class CaseKeys {
public:
    explicit CaseKeys(qsizetype expected) { m_keys.reserve(expected); }

    int of(const QString& name) {
        const QString folded = name.toCaseFolded();
        auto key = m_keys.find(folded);
        if (key == m_keys.end()) {
            key = m_keys.insert(folded, int(m_keys.size()));
        }
        return key.value();
    }

private:
    QHash<QString, int> m_keys;
};
