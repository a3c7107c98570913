#pragma once

#include <QAbstractItemModel>
#include <memory>
#include <vector>

class TZEMItemList;

// The recipe graph unfolded into a tree, one column of item names (each also its tooltip). The
// roots are the starting items that have edges, the last found on top; a node's children are its
// item's edges in order; a child whose name (letter case ignored) already stands on the path from
// its root is a leaf.
//
// Shared subtrees repeat in full, so the whole unfolding can be far larger than the graph: nodes
// are made only when their parent is expanded (fetchMore), and an expansion costs only the new
// children and the walk up its path.
class RecipeTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit RecipeTreeModel(QObject* parent = nullptr);
    ~RecipeTreeModel() override;

    // Shows the unfolding of the list (nullptr: an empty tree). The list must stay alive and
    // unchanged until it is replaced here.
    void setItemList(const TZEMItemList* list);
    const TZEMItemList* itemList() const { return m_list; }

    // Makes every node below `node`, as deep as the unfolding goes (it ends: a name already on the
    // path is a leaf), so that a view can open the whole subtree at once.
    void fetchSubtree(const QModelIndex& node);

    // The list position of the item behind a node, or -1.
    int itemPosition(const QModelIndex& index) const;
    // Nodes made so far, roots included.
    qsizetype nodeCount() const { return m_nodeCount; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node {
        Node* parent = nullptr;
        int item = -1;  // list position; -1 for the invisible top node
        int row = 0;
        bool leaf = false;     // its name closes a cycle on the path: shown without children
        bool fetched = false;  // children made
        std::vector<Node> children;
    };

    Node* nodeOf(const QModelIndex& index) const;
    bool canUnfold(const Node& node) const;
    void makeChildren(Node& node);

    const TZEMItemList* m_list = nullptr;
    const std::vector<int>* m_nameKeys = nullptr;  // the list's case keys
    std::unique_ptr<Node> m_top;
    qsizetype m_nodeCount = 0;
};
