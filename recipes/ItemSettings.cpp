#include "recipes/ItemSettings.h"

namespace ItemSettings {

bool storable(const QString& name) {
    const QString t = name.trimmed();
    return !t.isEmpty() && t == name && !name.contains(u'=') && !name.startsWith(u';') &&
           !name.startsWith(u'[') && !name.contains(u'\n') && !name.contains(u'\r');
}

QHash<QString, QString> readSection(const IniProfile::Contents& file, const QString& section,
                                    const std::function<bool(const QString& value)>& valid) {
    QHash<QString, QString> map;
    for (const auto& [name, value] : file.readSection(section)) {
        if (valid(value) && !map.contains(name)) {
            map.insert(name, value);
        }
    }
    return map;
}

}  // namespace ItemSettings
