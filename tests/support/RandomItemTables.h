#pragma once

#include <QStringList>
#include <QVariant>
#include <random>

#include "support/ItemDbFixture.h"

// A small database full of what breaks a careless walk: names that differ only in case, cycles and
// self-references, shared materials, repeated relation rows, several ItemInfo and ItemCreator rows
// per name with equal and different prices, materials without ItemInfo, products without
// ItemCreator, NULLs in any column, names stored as bytes. Products belong to the catalogue
// 武具目録, or to one picked from the given ones.
inline ItemDbFixture::Tables randomTables(std::mt19937& random,
                                          const QStringList& catalogues = {}) {
    const auto pick = [&random](int below) {
        return std::uniform_int_distribution<int>(0, below - 1)(random);
    };
    const QStringList pool{"a", "A", "b", "B", "鉄", "鋼", "炭", "刀", "c", "d", "e", "f"};
    const QStringList names = pool.mid(0, 3 + pick(int(pool.size()) - 2));
    // Now and then a name stored as bytes, which equals no text: the whole-table join leaves such
    // a database to the statements.
    const bool bytes = pick(4) == 0;
    const auto name = [&]() -> QVariant {
        const QString text = names[pick(int(names.size()))];
        return pick(40) == 0            ? QVariant()
               : bytes && pick(20) == 0 ? QVariant(text.toUtf8())
                                        : QVariant(text);
    };
    const auto number = [&]() -> QVariant {
        switch (pick(30)) {
            case 0:
                return QVariant();
            case 1:
                return QStringLiteral("x");
            case 2:
                return 2.5;
            default:
                return 1 + pick(3);
        }
    };
    ItemDbFixture::Tables t;
    for (int i = 0, n = pick(3 * int(names.size())); i < n; ++i) {
        t.relations.append({name(), name(), pick(3) == 0 ? QVariant(1) : number()});
    }
    for (int i = 0, n = pick(2 * int(names.size())); i < n; ++i) {
        const QString catalogue = catalogues.isEmpty() ? QStringLiteral("武具目録")
                                                       : catalogues[pick(int(catalogues.size()))];
        t.creators.append({name(), "鍛冶屋", catalogue, "BUGU", "一", "A", number(), "壱"});
    }
    for (int i = 0, n = pick(2 * int(names.size())); i < n; ++i) {
        t.infos.append({name(), QVariant(), "壱", "素材", 10, pick(4) == 0 ? number() : 20});
    }
    t.kinds.append(QVariantList{"素材", "その他"});
    return t;
}
