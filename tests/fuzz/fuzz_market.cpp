// libFuzzer target: any bytes as TAMUMarket.ini. Loading never fails and reads the indices the
// file holds; indices set read back, every other item keeps its index, setting the same index
// again writes nothing, and every line but the keys written survives byte for byte, in order.
#include <QHash>
#include <QSet>
#include <cstdint>
#include <utility>

#include "FuzzFile.h"
#include "common/IniProfile.h"
#include "recipes/MarketIndices.h"
#include "recipes/ProfitCalc.h"

namespace {

using FuzzFile::check;

const QString Product = QStringLiteral("Product");
const QString Material = QStringLiteral("Material");

// The names of a section's keys in the file, each once, with the index it reads as: the first
// value that is an index.
QList<std::pair<QString, QString>> indicesIn(const IniProfile::Contents& file,
                                             const QString& section) {
    QList<std::pair<QString, QString>> all;
    QHash<QString, qsizetype> at;
    QSet<QString> found;
    for (const auto& [name, value] : file.readSection(section)) {
        if (!at.contains(name)) {
            at.insert(name, all.size());
            all.append({name, MarketIndices::Default});
        }
        if (ProfitCalc::isIndexText(value) && !found.contains(name)) {
            found.insert(name);
            all[at[name]].second = value;
        }
    }
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (FuzzFile::setUp(), true);
    (void)ready;
    const QString file = FuzzFile::folder() + QStringLiteral("TAMUMarket.ini");
    const QByteArray before = FuzzFile::fileBytes(data, size);
    FuzzFile::write(file, before);

    const IniProfile::Contents contents = IniProfile(file).read();
    const auto products = indicesIn(contents, Product);
    const auto materials = indicesIn(contents, Material);
    MarketIndices first(FuzzFile::folder());
    for (const auto& [name, index] : products) {
        check(first.product(name) == index);
    }
    for (const auto& [name, index] : materials) {
        check(first.material(name) == index);
    }

    // A new item, and the first item the file names (when it may be stored as a key).
    const QString fresh = QStringLiteral("酒");
    QString known = products.isEmpty() ? QStringLiteral("Sake") : products.front().first;
    if (known.trimmed() != known || known.startsWith(u'[') || known.startsWith(u';') ||
        known.contains(u'=') || known == fresh) {
        known = QStringLiteral("Sake");
    }
    first.setProduct(fresh, QStringLiteral("12.34"));
    first.setProduct(known, QStringLiteral("00.01"));
    first.setMaterial(known, QStringLiteral("99.99"));
    const QByteArray written = FuzzFile::read(file);
    first.setProduct(known, QStringLiteral("00.01"));
    check(FuzzFile::read(file) == written);

    MarketIndices second(FuzzFile::folder());
    check(second.product(fresh) == QStringLiteral("12.34"));
    check(second.product(known) == QStringLiteral("00.01"));
    check(second.material(known) == QStringLiteral("99.99"));
    for (const auto& [name, index] : products) {
        check(name == fresh || name == known || second.product(name) == index);
    }
    for (const auto& [name, index] : materials) {
        check(name == known || second.material(name) == index);
    }

    const auto lines = FuzzFile::utf8Lines(before);
    if (!lines) {
        return 0;
    }
    QList<QByteArray> kept;
    QSet<QString> seen;
    QString section;  // of the first appearance of [Product] or [Material], else empty
    for (const FuzzFile::Line& line : *lines) {
        if (line.section) {
            const QString name = line.section->toCaseFolded();
            const bool firstTime = !seen.contains(name);
            seen.insert(name);
            section =
                firstTime && (name == Product.toCaseFolded() || name == Material.toCaseFolded())
                    ? name
                    : QString();
        }
        const QString key = FuzzFile::keyOf(line.text).value_or(QString());
        const bool written = !line.section && !section.isEmpty() &&
                             (key == known || (key == fresh && section == Product.toCaseFolded()));
        if (!written) {
            kept.append(line.bytes);
        }
    }
    const auto after = FuzzFile::utf8Lines(FuzzFile::read(file));
    check(after && FuzzFile::inOrder(kept, *after));
    return 0;
}
