#include "recipes/ShoppingList.h"

#include "common/TZEMError.h"

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

QString csvField(QString field) {
    // A name that a spreadsheet would take for a formula stays text.
    bool number = false;
    field.toLongLong(&number);
    if (!number && !field.isEmpty() && QStringLiteral("=+-@").contains(field.front())) {
        field.prepend(u'\'');
    }
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r')) {
        return field;
    }
    return u'"' + QString(field).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
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

    // Users before materials: the reverse of the order in which the walk finished them.
    std::vector<std::int64_t> needed(std::size_t(n), 0);
    std::vector<std::int64_t> runs(std::size_t(n), 0);
    std::vector<int> purchaseOf(std::size_t(n), -1);
    needed[0] = m_pieces;
    for (auto it = postorder.rbegin(); it != postorder.rend(); ++it) {
        const int p = *it;
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
        const std::int64_t need = needed[std::size_t(p)];
        runs[std::size_t(p)] = need / perRun + (need % perRun != 0 ? 1 : 0);
        for (std::size_t k = 0; k < entry.materials.size(); ++k) {
            const RecipeBook::Material& material = entry.materials[k];
            const std::int64_t pieces = checkedMul(runs[std::size_t(p)], material.needed);
            const std::size_t m = std::size_t(material.item);
            if (made[std::size_t(p)][k]) {
                needed[m] = checkedAdd(needed[m], pieces);
                continue;
            }
            if (purchaseOf[m] < 0) {
                purchaseOf[m] = int(plan.purchases.size());
                const bool product = m_book.at(material.item).isProduct();
                plan.purchases.push_back(Purchase{material.item, 0, std::nullopt,
                                                  product && !isBought(material.item),
                                                  product && isBought(material.item)});
            }
            Purchase& purchase = plan.purchases[std::size_t(purchaseOf[m])];
            purchase.pieces = checkedAdd(purchase.pieces, pieces);
        }
    }
    for (Purchase& purchase : plan.purchases) {
        if (const auto price = m_book.at(purchase.item).price) {
            purchase.cost = checkedMul(purchase.pieces, *price);
            plan.total = checkedAdd(plan.total, *purchase.cost);
        } else {
            ++plan.unpriced;
        }
    }
    for (const int p : postorder) {
        const int r = row(p);
        const std::int32_t perRun = m_book.at(p).rows[std::size_t(r)].count;
        plan.steps.push_back(Step{p, r, perRun, runs[std::size_t(p)],
                                  checkedMul(runs[std::size_t(p)], perRun),
                                  needed[std::size_t(p)]});
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
                     QStringLiteral("金額")};
    for (const Purchase& p : plan.purchases) {
        const auto price = m_book.at(p.item).price;
        t << QStringList{name(p.item), num(p.pieces), price ? num(*price) : QString(),
                         p.cost ? num(*p.cost) : QString()};
    }
    t << QStringList{QStringLiteral("合計"), QString(), QString(), num(plan.total)};
    if (plan.unpriced > 0) {
        t << QStringList{UnpricedNote.arg(plan.unpriced)};
    }
    t << QStringList{};
    t << QStringList{QStringLiteral("生産手順"), QStringLiteral("生産数"), QStringLiteral("回数"),
                     QStringLiteral("個数")};
    for (const Step& s : plan.steps) {
        t << QStringList{name(s.item), num(s.perRun), num(s.runs), num(s.pieces)};
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
        QStringList cells;
        for (const QString& c : row) {
            cells << csvField(c);
        }
        text += cells.join(u',') + QStringLiteral("\r\n");
    }
    return text;
}
