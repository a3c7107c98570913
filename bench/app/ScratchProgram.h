#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "common/DataFolder.h"
#include "common/Messages.h"

// What a benchmarked program needs around it: a scratch DAT folder holding a copy of the sample
// item database, and messages written to the console instead of waiting on a modal box.
class ScratchProgram {
public:
    ScratchProgram() {
        const QString dat = m_dir.path() + QStringLiteral("/DAT/");
        QDir().mkpath(dat);
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/DAT/TAMU_Item.db"),
                    dat + QStringLiteral("TAMU_Item.db"));
        DataFolder::setOverride(dat);
        Messages::setPresenters(Messages::Presenters{
            [](const QString& t) { std::fprintf(stderr, "error: %s\n", qUtf8Printable(t)); },
            [](const QString& t) { std::fprintf(stderr, "message: %s\n", qUtf8Printable(t)); },
            [](const QString&, const QString&) { return true; }});
    }

private:
    QTemporaryDir m_dir;
};
