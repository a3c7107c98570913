#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <random>

#include "recipes/MarketIndices.h"
#include "recipes/ProfitRanking.h"

// The profit ranking over the sample database beside the test, as its tests set it up.

inline QString sampleDatabase() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/DAT/TAMU_Item.db");
}

// Every fief product of the sample database, counted by a plain statement of its own.
inline int fiefProductCount() {
    int count = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
        db.setDatabaseName(sampleDatabase());
        QSqlQuery q(db);
        if (db.open() &&
            q.exec(QStringLiteral("SELECT COUNT(DISTINCT アイテム名) FROM ItemCreator "
                                  "WHERE 目録 IN ('知行産物', '知行名物')")) &&
            q.next()) {
            count = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return count;
}

// Random indices between 00.00 and 03.00 for every material and product of the ranking.
inline void randomIndices(MarketIndices& indices, const ProfitRanking& ranking, unsigned seed) {
    std::mt19937 random(seed);
    for (const auto& m : ranking.materials()) {
        indices.setMaterial(m.name, ProfitRanking::indexText(int(random() % 301)));
    }
    for (int r = 0; r < ranking.count(); ++r) {
        indices.setProduct(ranking.at(r).product.name,
                           ProfitRanking::indexText(int(random() % 301)));
    }
}
