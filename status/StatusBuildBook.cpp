#include "status/StatusBuildBook.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

#include "common/IniProfile.h"
#include "common/TZEMError.h"

namespace {

const QString SectionPrefix = QStringLiteral("Build");
const QString NameKey = QStringLiteral("Name");
const char* const BonusKeys[StatusBuild::BonusCount] = {"POW", "VIT", "DEX", "INT", "PHI"};

QString sectionOf(int number) {
    return SectionPrefix + QString::number(number);
}

// The n of "Build<n>" in any letter case, as the profile matches sections.
std::optional<int> sectionNumber(const QString& section) {
    if (!section.startsWith(SectionPrefix, Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    const QString digits = section.mid(SectionPrefix.size());
    bool ok = false;
    const int n = digits.toInt(&ok);
    if (!ok || n <= 0 || digits != QString::number(n)) {
        return std::nullopt;
    }
    return n;
}

// The profile takes one pair of quotes off a value: a name that begins and ends with the same
// quote keeps them by being quoted once more.
QString storedName(const QString& name) {
    const bool quoted = name.size() >= 2 && (name.front() == u'"' || name.front() == u'\'') &&
                        name.back() == name.front();
    return quoted ? u'"' + name + u'"' : name;
}

QList<IniProfile::Entry> buildKeys(int number, const QString& name, const StatusBuild& build) {
    const QString section = sectionOf(number);
    QList<IniProfile::Entry> keys{
        {section, NameKey, storedName(name)},
        {section, QStringLiteral("JOB"), QString::number(build.job)},
        {section, QStringLiteral("INF"), QString::number(build.faction)},
    };
    for (int i = 0; i < StatusBuild::BonusCount; ++i) {
        keys.append({section, QString::fromLatin1(BonusKeys[i]), QString::number(build.bonus[i])});
    }
    keys.append({section, QStringLiteral("LV"), QString::number(build.level)});
    return keys;
}

std::optional<StatusBuild> readBuild(const IniProfile::Contents& file, const QString& section) {
    const auto number = [&](const QString& key) {
        return IniProfile::parseInteger(file.readString(section, key, QString()));
    };
    StatusBuild build;
    const auto job = number(QStringLiteral("JOB"));
    const auto faction = number(QStringLiteral("INF"));
    const auto level = number(QStringLiteral("LV"));
    if (!job || !faction || !level) {
        return std::nullopt;
    }
    build.job = *job;
    build.faction = *faction;
    build.level = *level;
    for (int i = 0; i < StatusBuild::BonusCount; ++i) {
        const auto b = number(QString::fromLatin1(BonusKeys[i]));
        if (!b) {
            return std::nullopt;
        }
        build.bonus[i] = *b;
    }
    if (build.problem()) {
        return std::nullopt;
    }
    return build;
}

}  // namespace

StatusBuildBook::StatusBuildBook(const QString& folder, QObject* parent)
    : QObject(parent), m_fileName(folder + QStringLiteral("TAMUBuilds.ini")) {
    reload();
}

void StatusBuildBook::reload() {
    const IniProfile::Contents file = IniProfile(m_fileName).read();
    m_entries.clear();
    m_highestNumber = 0;
    QSet<QString> seen;  // case-folded section names
    QSet<QString> names;
    for (const IniProfile::Entry& e : file.entries()) {
        const std::optional<int> n = sectionNumber(e.section);
        if (!n || seen.contains(e.section.toCaseFolded())) {
            continue;
        }
        seen.insert(e.section.toCaseFolded());
        m_highestNumber = std::max(m_highestNumber, *n);
        const QString name = file.readString(e.section, NameKey, QString());
        const std::optional<StatusBuild> build = readBuild(file, e.section);
        if (!build || name.trimmed() != name || name.isEmpty() || names.contains(name)) {
            continue;
        }
        names.insert(name);
        m_entries.append(Entry{*n, name, *build});
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry& a, const Entry& b) { return a.number < b.number; });
}

const StatusBuildBook::Entry* StatusBuildBook::find(const QString& name) const {
    const auto it = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                 [&](const Entry& e) { return e.name == name; });
    return it == m_entries.cend() ? nullptr : &*it;
}

const StatusBuildBook::Entry* StatusBuildBook::byNumber(int number) const {
    const auto it = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                 [&](const Entry& e) { return e.number == number; });
    return it == m_entries.cend() ? nullptr : &*it;
}

const StatusBuildBook::Entry& StatusBuildBook::existing(const QString& name) const {
    const Entry* entry = find(name);
    if (!entry) {
        throw TZEMError(QStringLiteral("ビルド「%1」は見つかりません").arg(name));
    }
    return *entry;
}

QString StatusBuildBook::checkedName(const QString& name) {
    const QString t = name.trimmed();
    if (t.isEmpty()) {
        throw TZEMError(QStringLiteral("ビルドの名前を入力してください"));
    }
    if (t.size() > MaxNameLength) {
        throw TZEMError(
            QStringLiteral("ビルドの名前は %1 文字までにしてください").arg(MaxNameLength));
    }
    for (const QChar c : t) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            throw TZEMError(QStringLiteral("ビルドの名前に改行や制御文字は使えません"));
        }
    }
    return t;
}

int StatusBuildBook::save(QString name, StatusBuild build) {
    const QString checked = checkedName(name);
    if (const auto problem = build.problem()) {
        throw TZEMError(QStringLiteral("このビルドは保存できません：") + *problem);
    }
    reload();
    const Entry* entry = find(checked);
    if (!entry && m_entries.size() >= MaxBuilds) {
        throw TZEMError(QStringLiteral("ビルドは %1 件までしか保存できません").arg(MaxBuilds));
    }
    const int number = entry ? entry->number : m_highestNumber + 1;
    IniProfile(m_fileName).write(buildKeys(number, checked, build));
    reload();
    Q_EMIT changed();
    return number;
}

void StatusBuildBook::rename(QString from, QString to) {
    const QString checked = checkedName(to);
    reload();
    const Entry& entry = existing(from);
    if (checked == from) {
        return;
    }
    if (find(checked)) {
        throw TZEMError(QStringLiteral("「%1」という名前のビルドはもうあります").arg(checked));
    }
    IniProfile(m_fileName).writeString(sectionOf(entry.number), NameKey, storedName(checked));
    reload();
    Q_EMIT changed();
}

void StatusBuildBook::remove(QString name) {
    reload();
    const Entry& entry = existing(name);
    IniProfile(m_fileName).apply({{}, {}, {sectionOf(entry.number)}});
    reload();
    Q_EMIT changed();
}
