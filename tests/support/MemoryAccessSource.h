#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <utility>

#include "common/TZEMError.h"
#include "mdbimport/AccessSource.h"

// Access tables held in memory, for testing the import without an Access file. A null QVariant
// is NULL; `declared` other than -1 claims a row count the rows do not have, as a damaged file
// would; `failAt` makes fetching that row (1-based) fail as an unreadable page would.
struct MemoryTable {
    QList<AccessColumn> columns;
    QList<AccessRow> rows;
    std::int64_t declared = -1;
    std::int64_t failAt = 0;

    MemoryTable() = default;
    MemoryTable(QList<AccessColumn> c, const QList<QVariantList>& values) : columns(std::move(c)) {
        for (const QVariantList& v : values) {
            addRow(v);
        }
    }
    void addRow(const QVariantList& values) {
        AccessRow row;
        for (const QVariant& v : values) {
            row << (v.isNull() ? AccessValue{QString(), true} : AccessValue{v.toString(), false});
        }
        rows << row;
    }
};

class MemoryAccessSource : public AccessSource {
public:
    QList<std::pair<QString, MemoryTable>> tables;

    MemoryTable* find(const QString& name) {
        for (auto& [n, t] : tables) {
            if (n == name) {
                return &t;
            }
        }
        return nullptr;
    }

    QStringList tableNames() const override {
        QStringList names;
        for (const auto& t : tables) {
            names << t.first;
        }
        return names;
    }

    std::unique_ptr<AccessTable> table(const QString& name) override {
        return std::make_unique<Reader>(*find(name));
    }

    // The four item tables with the columns and types an Access item database has; rows as for
    // ItemDbFixture (kinds, infos, creators, relations).
    static MemoryAccessSource items(const QList<QVariantList>& kinds,
                                    const QList<QVariantList>& infos,
                                    const QList<QVariantList>& creators,
                                    const QList<QVariantList>& relations) {
        const auto text = [](const char16_t* n) {
            return AccessColumn{QString::fromUtf16(n), AccessType::Text,
                                QStringLiteral("テキスト型")};
        };
        const auto integer = [](const char16_t* n) {
            return AccessColumn{QString::fromUtf16(n), AccessType::Integer,
                                QStringLiteral("長整数型")};
        };
        MemoryAccessSource s;
        s.tables << std::pair{QStringLiteral("ItemKind"),
                              MemoryTable({text(u"アイテム種類"), text(u"装備区分")}, kinds)};
        s.tables << std::pair{
            QStringLiteral("ItemInfo"),
            MemoryTable({text(u"アイテム名"), text(u"ふりがな"), text(u"バージョン"),
                         text(u"アイテム種類"), integer(u"店売り"), integer(u"店買い")},
                        infos)};
        s.tables << std::pair{
            QStringLiteral("ItemCreator"),
            MemoryTable({text(u"アイテム名"), text(u"生産職業"), text(u"目録"), text(u"MOKUROKU"),
                         text(u"技能"), text(u"GINOU"), integer(u"生産数"), text(u"バージョン")},
                        creators)};
        s.tables << std::pair{
            QStringLiteral("ItemCreateRelation"),
            MemoryTable({text(u"アイテム名"), text(u"材料"), integer(u"必要数")}, relations)};
        return s;
    }

private:
    class Reader : public AccessTable {
    public:
        explicit Reader(const MemoryTable& t) : m_table(t) {}
        QList<AccessColumn> columns() const override { return m_table.columns; }
        std::int64_t declaredRows() const override {
            return m_table.declared >= 0 ? m_table.declared : m_table.rows.size();
        }
        void select(const QList<int>& columns) override {
            m_selected = columns;
            m_next = 0;
        }
        bool fetch(AccessRow& row) override {
            if (m_next >= m_table.rows.size()) {
                return false;
            }
            if (m_next + 1 == m_table.failAt) {
                throw TZEMError(QStringLiteral("ページを読めません"));
            }
            const AccessRow& source = m_table.rows[m_next++];
            row.resize(m_selected.size());
            for (qsizetype i = 0; i < m_selected.size(); ++i) {
                row[i] = source[m_selected[i]];
            }
            return true;
        }

    private:
        const MemoryTable& m_table;
        QList<int> m_selected;
        qsizetype m_next = 0;
    };
};
