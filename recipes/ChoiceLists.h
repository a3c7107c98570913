#pragma once

#include <QString>
#include <QStringList>

// The controller's start-up load of the recipe search window's three choice lists: the
// distinct producing jobs, versions and equipment classes, appended in row order. Raises the
// first failure; the lists keep the entries appended before it.
void loadChoiceLists(const QString& dbPath, QStringList& jobList, QStringList& versionList,
                     QStringList& equipList);
