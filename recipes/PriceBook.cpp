#include "recipes/PriceBook.h"

#include <QFile>
#include <QFileInfo>
#include <limits>

#include "common/TZEMError.h"
#include "recipes/CsvText.h"
#include "recipes/ItemSettings.h"
#include "recipes/ProfitCalc.h"

namespace {

const QString BuySection = QStringLiteral("Buy");
const QString SellSection = QStringLiteral("Sell");
const QString NameHead = QStringLiteral("アイテム名");

bool isPrice(const QString& text) {
    bool digits = !text.isEmpty();
    for (const QChar c : text) {
        digits = digits && c >= u'0' && c <= u'9';
    }
    return digits && PriceBook::parsePrice(text).has_value();
}

}  // namespace

PriceBook::PriceBook(const QString& folder) : m_profile(folder + QStringLiteral("TAMUPrices.ini")) {
    const IniProfile::Contents file = m_profile.read();
    for (const auto& [section, buy] :
         {std::pair{BuySection, true}, std::pair{SellSection, false}}) {
        for (const auto& [name, value] : file.readSection(section)) {
            if (!isPrice(value)) {
                continue;
            }
            if (!m_prices.contains(name)) {
                m_names << name;
            }
            Prices& p = m_prices[name];
            std::optional<std::int32_t>& slot = buy ? p.buy : p.sell;
            if (!slot) {  // the first of equal names, as a read of the key gives
                slot = parsePrice(value);
            }
        }
    }
}

std::optional<std::int32_t> PriceBook::parsePrice(const QString& text) {
    QString digits = text.trimmed();
    // 1,200 as a spreadsheet shows it: groups of three after the first.
    const QStringList groups = digits.split(u',');
    for (qsizetype i = 1; i < groups.size(); ++i) {
        if (groups[i].size() != 3 || groups[0].isEmpty()) {
            return std::nullopt;
        }
    }
    digits.remove(u',');
    if (digits.isEmpty() || digits.size() > 10) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return std::int32_t(value);
}

void PriceBook::set(const QList<Item>& items) {
    IniProfile::Changes changes;
    for (const auto& [name, prices] : items) {
        if (m_prices.value(name) == prices) {
            continue;
        }
        if (prices.isEmpty()) {
            m_prices.remove(name);
            m_names.removeOne(name);
        } else {
            if (!m_prices.contains(name)) {
                m_names << name;
            }
            m_prices.insert(name, prices);
        }
        if (!ItemSettings::storable(name)) {
            continue;
        }
        for (const auto& [section, price] :
             {std::pair{BuySection, prices.buy}, std::pair{SellSection, prices.sell}}) {
            // Sake and SAKE are two items: each keeps a key of its own.
            IniProfile::Entry entry{section, name, QString(), Qt::CaseSensitive};
            if (price) {
                entry.value = QString::number(*price);
                changes.set << entry;
            } else {
                changes.removedKeys << entry;
            }
        }
    }
    if (!changes.set.isEmpty() || !changes.removedKeys.isEmpty()) {
        m_profile.apply(changes);
    }
}

ProfitProduct PriceBook::priced(const ProfitProduct& product) const {
    ProfitProduct p = product;
    const Prices own = prices(product.name);
    if (const auto unit = ProfitCalc::productIndexed(product.catalogue) ? own.buy : own.sell) {
        p.unitPrice = *unit;
    }
    for (ProfitProduct::Material& m : p.materials) {
        if (const auto price = buy(m.name)) {
            m.price = *price;
        }
    }
    return p;
}

bool PriceBook::affects(const ProfitProduct& product) const {
    const ProfitProduct p = priced(product);
    if (p.unitPrice != product.unitPrice) {
        return true;
    }
    for (std::size_t k = 0; k < p.materials.size(); ++k) {
        if (p.materials[k].price != product.materials[k].price) {
            return true;
        }
    }
    return false;
}

namespace PriceCsv {

QString format(const PriceBook& book) {
    const auto price = [](const std::optional<std::int32_t>& p) {
        return p ? QString::number(*p) : QString();
    };
    QString text = CsvText::line({NameHead, QStringLiteral("店買い"), QStringLiteral("店売り")});
    for (const QString& name : book.names()) {
        const PriceBook::Prices p = book.prices(name);
        text += CsvText::line({name, price(p.buy), price(p.sell)});
    }
    return text;
}

Import parse(const QString& text) {
    Import result;
    bool first = true;
    for (const CsvText::Row& row : CsvText::rows(text)) {
        QStringList fields = row.fields;
        while (fields.size() > 3 && fields.back().trimmed().isEmpty()) {
            fields.removeLast();  // the empty columns a spreadsheet adds
        }
        if (fields.join(QString()).trimmed().isEmpty()) {
            continue;
        }
        const QString name = CsvText::unguarded(fields[0].trimmed());
        if (std::exchange(first, false) && name == NameHead) {
            continue;
        }
        const auto problem = [&](const QString& why) {
            QString shown = row.fields.join(u',');
            if (shown.size() > 40) {
                shown = shown.left(40) + u'…';
            }
            result.problems << QStringLiteral("%1 行目：%2（%3）").arg(row.line).arg(why, shown);
        };
        if (row.unterminated) {
            problem(QStringLiteral("引用符が閉じていません"));
            continue;
        }
        if (fields.size() < 2 || fields.size() > 3) {
            problem(QStringLiteral("列はアイテム名・店買い・店売りの 3 つです"));
            continue;
        }
        if (name.isEmpty()) {
            problem(QStringLiteral("アイテム名がありません"));
            continue;
        }
        if (!ItemSettings::storable(name)) {
            problem(QStringLiteral("この名前は保存できません"));
            continue;
        }
        PriceBook::Prices prices;
        bool ok = true;
        for (int column = 1; column < fields.size() && ok; ++column) {
            const QString cell = fields[column].trimmed();
            if (cell.isEmpty()) {
                continue;
            }
            const auto price = PriceBook::parsePrice(cell);
            if (!price) {
                problem(QStringLiteral("「%1」は価格ではありません").arg(cell));
                ok = false;
            }
            (column == 1 ? prices.buy : prices.sell) = price;
        }
        if (ok) {
            result.items << PriceBook::Item{name, prices};
        }
    }
    return result;
}

Import read(const QString& fileName) {
    constexpr qint64 MaxBytes = 32 << 20;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw TZEMError(QStringLiteral("%1 を読めません").arg(fileName));
    }
    if (file.size() > MaxBytes) {
        throw TZEMError(QStringLiteral("%1 は大きすぎて読めません（%2 MB まで）")
                            .arg(fileName)
                            .arg(MaxBytes >> 20));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw TZEMError(QStringLiteral("%1 を読めません").arg(fileName));
    }
    const std::optional<QString> text = CsvText::decode(bytes);
    if (!text || text->contains(QChar(0))) {
        throw TZEMError(
            QStringLiteral(
                "%1 は CSV ファイルとして読めません（UTF-8 か Shift-JIS の文字で保存してください）")
                .arg(QFileInfo(fileName).fileName()));
    }
    return parse(*text);
}

}  // namespace PriceCsv
