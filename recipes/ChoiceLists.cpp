#include "recipes/ChoiceLists.h"

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/TDB.h"

namespace {

void appendColumn(TDB& db, const SqlStatement& statement, const QString& column,
                  QStringList& list) {
    for (TDBQuery& q = db.OpenQuery(statement); !q.eof(); q.next()) {
        list << q.asString(column);
    }
}

}  // namespace

void loadChoiceLists(const QString& dbPath, QStringList& jobList, QStringList& versionList,
                     QStringList& equipList) {
    TDB db(dbPath);
    db.connectOrFail();
    appendColumn(db, SqlJobList(), QStringLiteral("生産職業"), jobList);
    appendColumn(db, SqlVersionList(), QStringLiteral("バージョン"), versionList);
    appendColumn(db, SqlEquipList(), QStringLiteral("装備区分"), equipList);
}
