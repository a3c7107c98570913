#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QtTest>
#include <memory>

#include "recipes/RecipeTreeModel.h"
#include "recipes/TZEMItemList.h"

namespace {

// A graph written as its list: "A*:1,2 ; B:2 ; M:" — each entry a name, '*' for a starting
// item, then the list positions its edges lead to, in order.
std::unique_ptr<TZEMItemList> listFrom(const QString& text) {
    auto list = std::make_unique<TZEMItemList>();
    const QStringList entries = text.split(u';', Qt::SkipEmptyParts);
    for (const QString& raw : entries) {
        QString name = raw.section(u':', 0, 0).trimmed();
        const bool root = name.endsWith(u'*');
        if (root) {
            name.chop(1);
        }
        TZEMItem item(name, 1, root);
        for (const QString& target :
             raw.section(u':', 1).trimmed().split(u',', Qt::SkipEmptyParts)) {
            item.Sources.append(TZEMItemSource(target.trimmed().toInt(), 1));
        }
        list->append(std::move(item));
    }
    return list;
}

// The unfolding done eagerly and recursively, straight from the rule: roots are the starting
// items with edges, the last one first; a name already on the path (letter case ignored) is a
// leaf.
QString unfoldEdges(const TZEMItemList& list, int position, QStringList& path) {
    QStringList children;
    for (const TZEMItemSource& edge : list.at(position).Sources) {
        const QString name = list.at(edge.Index).Name;
        bool onPath = false;
        for (const QString& p : path) {
            onPath = onPath || QString::compare(p, name, Qt::CaseInsensitive) == 0;
        }
        QString node = name;
        if (!onPath) {
            path << name;
            const QString below = unfoldEdges(list, edge.Index, path);
            path.removeLast();
            if (!below.isEmpty()) {
                node += u'(' + below + u')';
            }
        }
        children << node;
    }
    return children.join(u',');
}

QString referenceTree(const TZEMItemList& list) {
    QStringList roots;
    for (int i = 0; i < list.count(); ++i) {
        if (list.at(i).IsRoot && !list.at(i).Sources.isEmpty()) {
            QStringList path{list.at(i).Name};
            roots.prepend(list.at(i).Name + u'(' + unfoldEdges(list, i, path) + u')');
        }
    }
    return roots.join(QStringLiteral(" | "));
}

// The model's tree, every node fetched.
QString modelSubtree(RecipeTreeModel& model, const QModelIndex& parent) {
    if (model.canFetchMore(parent)) {
        model.fetchMore(parent);
    }
    QStringList children;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        QString node = child.data().toString();
        const QString below = modelSubtree(model, child);
        if (!below.isEmpty()) {
            node += u'(' + below + u')';
        }
        children << node;
    }
    return children.join(parent.isValid() ? QStringLiteral(",") : QStringLiteral(" | "));
}

// Whether some node under `parent` still waits to be fetched.
bool anyUnfetched(const RecipeTreeModel& model, const QModelIndex& parent) {
    if (model.canFetchMore(parent)) {
        return true;
    }
    for (int row = 0; row < model.rowCount(parent); ++row) {
        if (anyUnfetched(model, model.index(row, 0, parent))) {
            return true;
        }
    }
    return false;
}

// A random small graph with cycles, self-references, shared materials, repeated starting names
// and names that differ only in letter case.
QString randomGraph(quint32 seed) {
    QRandomGenerator random(seed);
    static const QStringList names = {"A", "a", "B", "C", "c", "D", "刀", "玉鋼"};
    const int count = 1 + random.bounded(7);
    QStringList entries;
    for (int i = 0; i < count; ++i) {
        QString entry = names.at(random.bounded(names.size()));
        if (i == 0 || random.bounded(3) == 0) {
            entry += u'*';
        }
        QStringList edges;
        const int edgeCount = random.bounded(4);
        for (int e = 0; e < edgeCount; ++e) {
            edges << QString::number(random.bounded(count));
        }
        entries << entry + u':' + edges.join(u',');
    }
    return entries.join(QStringLiteral(" ; "));
}

// The tester checks the model after every change. It is kept from fetching on its own: in Qt 6.4
// it fetches while still handling a reset and then flags the insertion as overlapping the reset.
struct ModelTester {
    explicit ModelTester(QAbstractItemModel* model)
        : tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest) {
        tester.setUseFetchMore(false);
    }
    QAbstractItemModelTester tester;
};

}  // namespace

class TestTreeModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unfolding_data();
    void unfolding();
    void matchesRecursiveUnfolding_data();
    void matchesRecursiveUnfolding();
    void hugeSharedUnfoldingStaysLazy();
    void replacingTheList();
    void tooltipIsTheWholeName();
};

void TestTreeModel::unfolding_data() {
    QTest::addColumn<QString>("graph");
    QTest::addColumn<QString>("tree");

    QTest::newRow("self-reference") << "P*:0"
                                    << "P(P)";
    QTest::newRow("A and B need each other, only A found") << "A*:1 ; B:0"
                                                           << "A(B(A))";
    QTest::newRow("shared material under both roots, roots reversed") << "A*:2 ; B*:2 ; M:"
                                                                      << "B(M) | A(M)";
    QTest::newRow("same name in two rows") << "A*:2 ; A*:2 ; M:"
                                           << "A(M) | A(M)";
    QTest::newRow("starting product also a material") << "A*:1 ; B*:2 ; C:"
                                                      << "B(C) | A(B(C))";
    QTest::newRow("starting items without edges hidden") << "R*: ; B*:2 ; M:"
                                                         << "B(M)";
    QTest::newRow("no starting item has edges") << "R*: ; S*:"
                                                << "";
    QTest::newRow("path test ignores letter case") << "A*:1 ; a:0"
                                                   << "A(a)";
    QTest::newRow("shared subtree repeated in full") << "A*:1,2 ; B:3 ; C:3 ; D:4 ; E:"
                                                     << "A(B(D(E)),C(D(E)))";
    QTest::newRow("cycle below the root closes with a leaf") << "A*:1 ; B:2 ; C:1"
                                                             << "A(B(C(B)))";
    QTest::newRow("only the path counts, not siblings") << "A*:1,2 ; B:2 ; C:1"
                                                        << "A(B(C(B)),C(B(C)))";
}

void TestTreeModel::unfolding() {
    QFETCH(QString, graph);
    QFETCH(QString, tree);
    const auto list = listFrom(graph);
    RecipeTreeModel model;
    ModelTester tester(&model);
    model.setItemList(list.get());
    QCOMPARE(modelSubtree(model, {}), tree);
    QCOMPARE(referenceTree(*list), tree);
}

void TestTreeModel::matchesRecursiveUnfolding_data() {
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 300; ++seed) {
        QTest::addRow("graph %u", seed) << seed;
    }
}

void TestTreeModel::matchesRecursiveUnfolding() {
    QFETCH(quint32, seed);
    const QString graph = randomGraph(seed);
    const auto list = listFrom(graph);
    RecipeTreeModel model;
    ModelTester tester(&model);
    model.setItemList(list.get());
    const QString expected = referenceTree(*list);
    if (expected.size() > 20000) {
        QSKIP("unfolding too large to compare text");
    }
    // Fetching each root's whole subtree at once leaves nothing to fetch and the same tree.
    for (int row = 0; row < model.rowCount(); ++row) {
        model.fetchSubtree(model.index(row, 0));
    }
    QVERIFY(!anyUnfetched(model, {}));
    QCOMPARE(modelSubtree(model, {}), expected);
}

// 40 layers of two items, each needing both items of the next layer: the full unfolding has
// about 2^41 nodes. Walking down one branch to the bottom makes only the nodes on the way.
void TestTreeModel::hugeSharedUnfoldingStaysLazy() {
    const int layers = 40;
    QStringList entries;
    for (int layer = 0; layer < layers; ++layer) {
        for (int k = 0; k < 2; ++k) {
            QString entry = QStringLiteral("L%1_%2").arg(layer).arg(k);
            if (layer == 0) {
                entry += u'*';
            }
            entry += u':';
            if (layer + 1 < layers) {
                entry += QStringLiteral("%1,%2").arg(2 * layer + 2).arg(2 * layer + 3);
            }
            entries << entry;
        }
    }
    const auto list = listFrom(entries.join(u';'));
    RecipeTreeModel model;
    model.setItemList(list.get());
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("L0_1"));

    QModelIndex node = model.index(1, 0);
    int depth = 1;
    while (model.canFetchMore(node)) {
        model.fetchMore(node);
        node = model.index(1, 0, node);
        ++depth;
    }
    QCOMPARE(depth, layers);
    QCOMPARE(node.data().toString(), QStringLiteral("L%1_1").arg(layers - 1));
    QCOMPARE(model.nodeCount(), 2 + 2 * (layers - 1));

    // The parent chain leads back to the root.
    int up = 0;
    for (QModelIndex i = node; i.isValid(); i = model.parent(i)) {
        ++up;
    }
    QCOMPARE(up, layers);
}

void TestTreeModel::replacingTheList() {
    const auto first = listFrom("A*:1 ; M:");
    const auto second = listFrom("X*:1 ; Y*:0 ; Z:");
    RecipeTreeModel model;
    ModelTester tester(&model);
    model.setItemList(first.get());
    model.fetchMore(model.index(0, 0));
    const QPersistentModelIndex kept = model.index(0, 0, model.index(0, 0));
    QVERIFY(kept.isValid());

    model.setItemList(nullptr);
    QVERIFY(!kept.isValid());
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.hasChildren());

    model.setItemList(second.get());
    QCOMPARE(modelSubtree(model, {}), QStringLiteral("Y(X(Y)) | X(Y(X))"));
}

// Two long names that a narrow tree cuts alike: each node's tooltip is its whole name.
void TestTreeModel::tooltipIsTheWholeName() {
    const QString name = QStringLiteral("見本：知行とほかの目録に載る品");
    const auto list = listFrom(name + QStringLiteral("*:2 ; ") + name +
                               QStringLiteral("の二*:2 ; 見本：知行とほかの目録に載る材料:"));
    RecipeTreeModel model;
    ModelTester tester(&model);
    model.setItemList(list.get());
    model.fetchSubtree(model.index(0, 0));
    const QModelIndex child = model.index(0, 0, model.index(0, 0));
    for (const QModelIndex& node : {model.index(0, 0), model.index(1, 0), child}) {
        QCOMPARE(node.data(Qt::ToolTipRole), node.data(Qt::DisplayRole));
    }
    QCOMPARE(model.index(0, 0).data(Qt::ToolTipRole).toString(), name + QStringLiteral("の二"));
    QCOMPARE(child.data(Qt::ToolTipRole).toString(),
             QStringLiteral("見本：知行とほかの目録に載る材料"));
}

QTEST_GUILESS_MAIN(TestTreeModel)
#include "tst_treemodel.moc"
