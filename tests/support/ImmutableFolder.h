#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <utility>

// A folder nobody may write, root included, for as long as the object lives.
class ImmutableFolder {
public:
    explicit ImmutableFolder(QString folder) : m_folder(std::move(folder)) {
        m_ok = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_folder}) == 0;
    }
    ~ImmutableFolder() {
        if (m_ok) {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_folder});
        }
    }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;
    bool ok() const { return m_ok; }

private:
    QString m_folder;
    bool m_ok = false;
};
