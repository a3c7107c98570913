#include "recipes/ItemDbSchema.h"

#include <QStringList>

namespace ItemDbSchema {
namespace {

struct Index {
    const char16_t* name;
    const char16_t* table;
    const char16_t* column;
};

QString text(const char16_t* s) {
    return QString::fromUtf16(s);
}

}  // namespace

const QList<Table>& tables() {
    static const QList<Table> all{
        {u"ItemKind", {{u"アイテム種類"}, {u"装備区分"}}, true},
        {u"ItemInfo",
         {{u"アイテム名"},
          {u"ふりがな", Kind::Text, true},
          {u"バージョン"},
          {u"アイテム種類"},
          {u"店売り", Kind::Integer},
          {u"店買い", Kind::Integer}},
         true},
        {u"ItemCreator",
         {{u"アイテム名"},
          {u"生産職業"},
          {u"目録"},
          {u"MOKUROKU"},
          {u"技能"},
          {u"GINOU"},
          {u"生産数", Kind::Integer},
          {u"バージョン"}}},
        {u"ItemCreateRelation", {{u"アイテム名"}, {u"材料"}, {u"必要数", Kind::Integer}}},
    };
    return all;
}

QString tablesScript() {
    QString script;
    for (const Table& table : tables()) {
        QStringList columns;
        for (qsizetype i = 0; i < table.columns.size(); ++i) {
            const Column& column = table.columns[i];
            QString definition =
                text(column.name) + (column.kind == Kind::Integer ? QStringLiteral(" INTEGER")
                                                                  : QStringLiteral(" TEXT"));
            if (!column.nullable) {
                definition += QStringLiteral(" NOT NULL");
            }
            if (i == 0 && table.firstIsKey) {
                definition += QStringLiteral(" PRIMARY KEY");
            }
            columns << definition;
        }
        script += QStringLiteral("CREATE TABLE %1 (\n    %2\n);\n")
                      .arg(text(table.name), columns.join(QStringLiteral(",\n    ")));
    }
    return script;
}

QString indicesScript() {
    static const Index indices[] = {
        {u"ItemCreator_name", u"ItemCreator", u"アイテム名"},
        {u"ItemCreateRelation_name", u"ItemCreateRelation", u"アイテム名"},
        {u"ItemCreateRelation_material", u"ItemCreateRelation", u"材料"},
    };
    QString script;
    for (const Index& index : indices) {
        script += QStringLiteral("CREATE INDEX %1 ON %2 (%3);\n")
                      .arg(text(index.name), text(index.table), text(index.column));
    }
    return script;
}

}  // namespace ItemDbSchema
