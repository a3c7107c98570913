#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "recipes/SqlStatement.h"
#include "recipes/TZEMItemList.h"
#include "support/ItemDbFixture.h"

// Recipe graphs for tests, written compactly.
namespace GraphText {

// Tables from relations "A>B:2 A>C B>A" (product > material : needed count, default 1). Every
// name gets an ItemInfo row; every product (and every name in `products`) an ItemCreator row.
// A material written with a trailing '!' ("A>M!") gets no ItemInfo row.
inline ItemDbFixture::Tables tables(const QString& relations, const QStringList& products = {}) {
    ItemDbFixture::Tables t;
    QStringList names;
    QSet<QString> noInfo;
    QStringList makers = products;
    const auto note = [&names](const QString& name) {
        if (!names.contains(name)) {
            names << name;
        }
    };
    for (const QString& edge : relations.split(u' ', Qt::SkipEmptyParts)) {
        const QString product = edge.section(u'>', 0, 0);
        QString material = edge.section(u'>', 1).section(u':', 0, 0);
        const QString needed = edge.section(u':', 1, 1);
        if (material.endsWith(u'!')) {
            material.chop(1);
            noInfo.insert(material);
        }
        note(product);
        note(material);
        if (!makers.contains(product)) {
            makers << product;
        }
        t.relations.append(
            {product, material, needed.isEmpty() ? QVariant(1) : QVariant(needed.toInt())});
    }
    for (const QString& p : products) {
        note(p);
    }
    for (const QString& name : names) {
        if (!noInfo.contains(name)) {
            t.infos.append(
                {name, QVariant(), QStringLiteral("壱"), QStringLiteral("素材"), 10, 20});
        }
    }
    for (const QString& p : makers) {
        t.creators.append({p, QStringLiteral("鍛冶屋"), QStringLiteral("武具目録"),
                           QStringLiteral("BUGU"), QStringLiteral("一"), QStringLiteral("A"), 1,
                           QStringLiteral("壱")});
    }
    t.kinds.append({QStringLiteral("素材"), QStringLiteral("その他")});
    return t;
}

inline QString sqlText(const QString& value) {
    return value == QStringLiteral("NULL")
               ? value
               : u'\'' + QString(value).replace(QStringLiteral("'"), QStringLiteral("''")) + u'\'';
}

// A product search returning exactly these rows in this order: "A:2 B:1 C:NULL".
inline SqlStatement productRows(const QString& rows) {
    QStringList values;
    for (const QString& row : rows.split(u' ', Qt::SkipEmptyParts)) {
        values << u'(' + sqlText(row.section(u':', 0, 0)) + u',' +
                      sqlText(row.section(u':', 1, 1)) + u')';
    }
    if (values.isEmpty()) {
        return {QStringLiteral("SELECT 'x' AS アイテム名, 1 AS 生産数 WHERE 0"), {}};
    }
    return {QStringLiteral("SELECT column1 AS アイテム名, column2 AS 生産数 FROM (VALUES %1)")
                .arg(values.join(u',')),
            {}};
}

// A material search returning exactly these rows in this order: "M N".
inline SqlStatement materialRows(const QString& rows) {
    QStringList values;
    for (const QString& row : rows.split(u' ', Qt::SkipEmptyParts)) {
        values << u'(' + sqlText(row) + u')';
    }
    if (values.isEmpty()) {
        return {QStringLiteral("SELECT 'x' AS 材料 WHERE 0"), {}};
    }
    return {QStringLiteral("SELECT column1 AS 材料 FROM (VALUES %1)").arg(values.join(u',')), {}};
}

// The list as text: "A*2>1x3,2x1 ; B1> ; ..." — name, '*' for a starting item, count, then the
// edges as position x count.
inline QString describe(const TZEMItemList& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) {
        const TZEMItem& item = list.at(i);
        QStringList edges;
        for (const TZEMItemSource& edge : item.Sources) {
            edges << QStringLiteral("%1x%2").arg(edge.Index).arg(edge.Count);
        }
        items << item.Name + (item.IsRoot ? QStringLiteral("*") : QString()) +
                     QString::number(item.Count) + u'>' + edges.join(u',');
    }
    return items.join(QStringLiteral(" ; "));
}

}  // namespace GraphText
