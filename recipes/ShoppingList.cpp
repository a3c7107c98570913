#include "recipes/ShoppingList.h"

#include "common/TZEMError.h"
#include "recipes/CsvText.h"
#include "recipes/Holdings.h"
#include "recipes/PriceBook.h"

namespace {

std::int64_t checkedMul(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) {
        throw TZEMError(QStringLiteral("個数が大きすぎて計算できません"));
    }
    return r;
}

std::int64_t checkedAdd(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r)) {
        throw TZEMError(QStringLiteral("個数が大きすぎて計算できません"));
    }
    return r;
}

}  // namespace

const QString ShoppingList::UnpricedNote =
    QStringLiteral("※店買い価格の無い材料 %1 件は合計に含めていません");

ShoppingList::ShoppingList(const RecipeBook& book) : m_book(book) {
    m_pieces = defaultPieces();
}

std::int64_t ShoppingList::defaultPieces() const {
    if (m_book.count() == 0 || !m_book.at(0).isProduct()) {
        return 1;
    }
    return std::max<std::int64_t>(1, m_book.at(0).rows.front().count);
}

void ShoppingList::setBought(int item, bool bought) {
    if (bought && item != 0) {
        m_bought.insert(item);
    } else {
        m_bought.remove(item);
    }
}

void ShoppingList::setRow(int item, int row) {
    m_rows.insert(item, row);
}

void ShoppingList::setHeld(int item, std::int64_t pieces) {
    if (pieces > 0) {
        m_held.insert(item, pieces);
    } else {
        m_held.remove(item);
    }
}

void ShoppingList::setOwnPrice(int item, std::optional<std::int32_t> price) {
    if (price) {
        m_ownPrices.insert(item, *price);
    } else {
        m_ownPrices.remove(item);
    }
}

std::optional<std::int32_t> ShoppingList::price(int item) const {
    const auto own = m_ownPrices.constFind(item);
    return own != m_ownPrices.cend() ? std::optional<std::int32_t>(*own) : m_book.at(item).price;
}

void ShoppingList::usePrices(const PriceBook& prices) {
    m_ownPrices.clear();
    for (int item = 0; item < m_book.count(); ++item) {
        setOwnPrice(item, prices.buy(m_book.at(item).name));
    }
}

void ShoppingList::useHoldings(const Holdings& holdings) {
    m_held.clear();
    for (int item = 0; item < m_book.count(); ++item) {
        setHeld(item, holdings.pieces(m_book.at(item).name));
    }
}

ShoppingList::Plan ShoppingList::plan() const {
    Plan plan;
    const int n = m_book.count();
    if (n == 0 || !m_book.at(0).isProduct()) {
        return plan;
    }
    if (m_pieces <= 0) {
        throw TZEMError(QStringLiteral("必要個数は 1 以上にしてください"));
    }
    enum class Mark : std::uint8_t { New, OnPath, Done };
    std::vector<Mark> mark(static_cast<std::size_t>(n), Mark::New);
    // Per product, per material: made (true) or bought (false), fixed when the product is walked.
    std::vector<std::vector<bool>> made;
    made.resize(std::size_t(n));
    std::vector<int> postorder;
    struct Frame {
        int item;
        std::size_t next;
    };
    std::vector<Frame> stack{{0, 0}};
    mark[0] = Mark::OnPath;
    while (!stack.empty()) {
        Frame& top = stack.back();
        const RecipeBook::Entry& entry = m_book.at(top.item);
        if (top.next == entry.materials.size()) {
            mark[std::size_t(top.item)] = Mark::Done;
            postorder.push_back(top.item);
            stack.pop_back();
            continue;
        }
        const int m = entry.materials[top.next++].item;
        const bool craft =
            m_book.at(m).isProduct() && !isBought(m) && mark[std::size_t(m)] != Mark::OnPath;
        made[std::size_t(top.item)].push_back(craft);
        if (craft && mark[std::size_t(m)] == Mark::New) {
            mark[std::size_t(m)] = Mark::OnPath;
            stack.push_back(Frame{m, 0});
        }
    }

    // Users before materials: the reverse of the order in which the walk finished them. What is
    // held of a product covers its making first; what is left on hand goes to its purchase.
    std::vector<std::int64_t> needed(std::size_t(n), 0);
    std::vector<std::int64_t> runs(std::size_t(n), 0);
    std::vector<std::int64_t> onHand(std::size_t(n), 0);
    std::vector<std::int64_t> heldUsed(std::size_t(n), 0);
    std::vector<std::int64_t> wanted(std::size_t(n), 0);  // pieces to buy, before holdings
    std::vector<int> purchaseOf(std::size_t(n), -1);
    for (int i = 0; i < n; ++i) {
        onHand[std::size_t(i)] = held(i);
    }
    needed[0] = m_pieces;
    for (auto it = postorder.rbegin(); it != postorder.rend(); ++it) {
        const int p = *it;
        const std::size_t pi = std::size_t(p);
        if (needed[pi] == 0) {
            continue;  // below a product held in full
        }
        const RecipeBook::Entry& entry = m_book.at(p);
        const int r = row(p);
        if (r < 0 || r >= int(entry.rows.size())) {
            throw TZEMError(QStringLiteral("「%1」の生産レシピがありません").arg(entry.name));
        }
        const std::int32_t perRun = entry.rows[std::size_t(r)].count;
        if (perRun <= 0) {
            throw TZEMError(
                QStringLiteral("「%1」の生産数 %2 では生産できません").arg(entry.name).arg(perRun));
        }
        heldUsed[pi] = std::min(onHand[pi], needed[pi]);
        onHand[pi] -= heldUsed[pi];
        const std::int64_t need = needed[pi] -= heldUsed[pi];
        runs[pi] = need / perRun + (need % perRun != 0 ? 1 : 0);
        for (std::size_t k = 0; k < entry.materials.size(); ++k) {
            const RecipeBook::Material& material = entry.materials[k];
            const std::int64_t pieces = checkedMul(runs[pi], material.needed);
            const std::size_t m = std::size_t(material.item);
            if (pieces == 0) {
                continue;
            }
            if (made[pi][k]) {
                needed[m] = checkedAdd(needed[m], pieces);
                continue;
            }
            if (purchaseOf[m] < 0) {
                purchaseOf[m] = int(plan.purchases.size());
                const bool product = m_book.at(material.item).isProduct();
                Purchase purchase;
                purchase.item = material.item;
                purchase.cycle = product && !isBought(material.item);
                purchase.switched = product && isBought(material.item);
                plan.purchases.push_back(purchase);
            }
            wanted[m] = checkedAdd(wanted[m], pieces);
        }
    }
    for (Purchase& purchase : plan.purchases) {
        const std::size_t i = std::size_t(purchase.item);
        purchase.held = std::min(onHand[i], wanted[i]);
        purchase.pieces = wanted[i] - purchase.held;
        purchase.price = price(purchase.item);
        purchase.ownPrice = m_ownPrices.contains(purchase.item);
        if (purchase.pieces == 0) {
            purchase.cost = 0;  // nothing to buy costs nothing, known price or not
        } else if (purchase.price) {
            purchase.cost = checkedMul(purchase.pieces, *purchase.price);
            plan.total = checkedAdd(plan.total, *purchase.cost);
        } else {
            ++plan.unpriced;
        }
    }
    for (const int p : postorder) {
        const std::size_t pi = std::size_t(p);
        if (needed[pi] == 0 && heldUsed[pi] == 0) {
            continue;
        }
        const int r = row(p);
        const std::int32_t perRun = m_book.at(p).rows[std::size_t(r)].count;
        plan.steps.push_back(
            Step{p, r, perRun, runs[pi], checkedMul(runs[pi], perRun), needed[pi], heldUsed[pi]});
    }
    return plan;
}

QList<QStringList> ShoppingList::table(const Plan& plan) const {
    const auto name = [this](int item) { return m_book.at(item).name; };
    const auto num = [](std::int64_t v) { return QString::number(v); };
    QList<QStringList> t;
    t << QStringList{QStringLiteral("材料集計"), m_book.count() ? name(0) : QString(),
                     QStringLiteral("必要個数"), num(m_pieces)};
    t << QStringList{};
    t << QStringList{QStringLiteral("原材料"), QStringLiteral("個数"), QStringLiteral("店買い"),
                     QStringLiteral("金額"), QStringLiteral("所持から")};
    const auto held = [&num](std::int64_t pieces) { return pieces > 0 ? num(pieces) : QString(); };
    for (const Purchase& p : plan.purchases) {
        t << QStringList{name(p.item), num(p.pieces), p.price ? num(*p.price) : QString(),
                         p.cost ? num(*p.cost) : QString(), held(p.held)};
    }
    t << QStringList{QStringLiteral("合計"), QString(), QString(), num(plan.total)};
    if (plan.unpriced > 0) {
        t << QStringList{UnpricedNote.arg(plan.unpriced)};
    }
    t << QStringList{};
    t << QStringList{QStringLiteral("生産手順"), QStringLiteral("生産数"), QStringLiteral("回数"),
                     QStringLiteral("個数"), QStringLiteral("所持から")};
    for (const Step& s : plan.steps) {
        t << QStringList{name(s.item), num(s.perRun), num(s.runs), num(s.pieces), held(s.held)};
    }
    t << QStringList{};
    t << QStringList{QStringLiteral("余り"), QStringLiteral("個数")};
    for (const Step& s : plan.steps) {
        if (s.pieces > s.needed) {
            t << QStringList{name(s.item), num(s.pieces - s.needed)};
        }
    }
    return t;
}

QString ShoppingList::toTabText(const Plan& plan) const {
    QString text;
    for (const QStringList& row : table(plan)) {
        QStringList cells = row;
        for (QString& c : cells) {
            c.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
        }
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

QString ShoppingList::toCsv(const Plan& plan) const {
    QString text;
    for (const QStringList& row : table(plan)) {
        text += CsvText::line(row);
    }
    return text;
}
