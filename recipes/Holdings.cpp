#include "recipes/Holdings.h"

#include "common/TZEMError.h"
#include "recipes/ItemSettings.h"

namespace {

const QString Section = QStringLiteral("Holdings");

std::optional<std::int64_t> parseCount(const QString& text) {
    bool ok = !text.isEmpty() && text.size() <= 9;
    for (const QChar c : text) {
        ok = ok && c >= u'0' && c <= u'9';
    }
    const std::int64_t value = ok ? text.toLongLong() : 0;
    return value > 0 ? std::optional<std::int64_t>(value) : std::nullopt;
}

}  // namespace

Holdings::Holdings(const QString& folder) : m_profile(folder + QStringLiteral("TAMUHoldings.ini")) {
    const auto valid = [](const QString& v) { return parseCount(v).has_value(); };
    const QHash<QString, QString> read =
        ItemSettings::readSection(m_profile.read(), Section, valid);
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        m_pieces.insert(it.key(), *parseCount(it.value()));
    }
}

void Holdings::set(const QString& name, std::int64_t pieces) {
    if (pieces < 0 || pieces > Max) {
        throw TZEMError(QStringLiteral("所持数は 0 から %1 までで入力してください").arg(Max));
    }
    if (this->pieces(name) == pieces) {
        return;
    }
    if (pieces == 0) {
        m_pieces.remove(name);
    } else {
        m_pieces.insert(name, pieces);
    }
    if (!ItemSettings::storable(name)) {
        return;
    }
    IniProfile::Entry entry{Section, name, QString::number(pieces), Qt::CaseSensitive};
    IniProfile::Changes changes;
    (pieces == 0 ? changes.removedKeys : changes.set) << entry;
    m_profile.apply(changes);
}
