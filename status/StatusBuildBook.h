#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "status/StatusBuild.h"

// The player's saved builds, kept in TAMUBuilds.ini of the data folder, one section
// [Build<n>] per build with the keys Name, JOB, INF, POW, VIT, DEX, INT, PHI and LV. Every change
// reads the file afresh and rewrites only the keys (or the section) it changes, atomically; every
// other line stays as it was. A section that does not read as a build (a value missing or not a
// number, a build no character can have, a name that is empty or already taken) is not offered
// and is kept as it is; its number is never given to a new build.
class StatusBuildBook : public QObject {
    Q_OBJECT

public:
    struct Entry {
        int number = 0;  // of its section; stays with the build through a rename
        QString name;
        StatusBuild build;
    };

    static constexpr int MaxBuilds = 1000;  // keeps the file well below what a profile reads
    static constexpr int MaxNameLength = 40;

    // `folder` ends with a separator; the file is read at once. A file that cannot be read is
    // reported once (by the profile) and never written.
    explicit StatusBuildBook(const QString& folder, QObject* parent = nullptr);

    const QString& fileName() const { return m_fileName; }
    const QList<Entry>& entries() const { return m_entries; }
    const Entry* find(const QString& name) const;
    const Entry* byNumber(int number) const;

    // The name as stored (surrounding spaces dropped); throws a Japanese message when it is no
    // name a build can have.
    static QString checkedName(const QString& name);

    // Each throws TZEMError (a bad name, an unknown build, "%s に書き込めません") and then leaves
    // the file as it was. Saving under a name that exists overwrites that build; the number of the
    // build saved is returned. The arguments are copies: each call reads the file again, which
    // renews entries().
    int save(QString name, StatusBuild build);
    void rename(QString from, QString to);
    void remove(QString name);
    // Reads the file again.
    void reload();

Q_SIGNALS:
    // The list or a build changed.
    void changed();

private:
    const Entry& existing(const QString& name) const;

    QString m_fileName;
    QList<Entry> m_entries;
    int m_highestNumber = 0;  // of every [Build<n>] section, read or not
};
