#include "recipes/RecipeTreeModel.h"

#include <algorithm>

#include "recipes/TZEMItemList.h"

RecipeTreeModel::RecipeTreeModel(QObject* parent)
    : QAbstractItemModel(parent), m_top(std::make_unique<Node>()) {
    m_top->fetched = true;
}

RecipeTreeModel::~RecipeTreeModel() = default;

void RecipeTreeModel::setItemList(const TZEMItemList* list) {
    beginResetModel();
    m_list = list;
    m_top = std::make_unique<Node>();
    m_top->fetched = true;
    m_nameKeys = m_list != nullptr ? &m_list->caseKeys() : nullptr;
    m_nodeCount = 0;
    if (m_list != nullptr) {
        // Each root was inserted ahead of the earlier ones: the last found shows first.
        const std::vector<int>& roots = m_list->rootsWithEdges();
        m_top->children.resize(roots.size());
        for (std::size_t r = 0; r < roots.size(); ++r) {
            Node& node = m_top->children[r];
            node.item = roots[roots.size() - 1 - r];
            node.parent = m_top.get();
            node.row = static_cast<int>(r);
        }
        m_nodeCount = static_cast<qsizetype>(m_top->children.size());
    }
    endResetModel();
}

int RecipeTreeModel::itemPosition(const QModelIndex& index) const {
    const Node* node = index.isValid() ? nodeOf(index) : nullptr;
    return node != nullptr ? node->item : -1;
}

RecipeTreeModel::Node* RecipeTreeModel::nodeOf(const QModelIndex& index) const {
    if (!index.isValid()) {
        return m_top.get();
    }
    return static_cast<Node*>(index.internalPointer());
}

bool RecipeTreeModel::canUnfold(const Node& node) const {
    return !node.fetched && !node.leaf && node.item >= 0 &&
           !m_list->at(node.item).Sources.isEmpty();
}

void RecipeTreeModel::makeChildren(Node& node) {
    // The names on the path from the root down to this node, as keys.
    std::vector<int> path;
    for (const Node* n = &node; n != nullptr && n->item >= 0; n = n->parent) {
        path.push_back((*m_nameKeys)[static_cast<std::size_t>(n->item)]);
    }
    std::sort(path.begin(), path.end());

    const TZEMItemSrcList& sources = m_list->at(node.item).Sources;
    node.children.resize(static_cast<std::size_t>(sources.count()));  // never grows again
    int row = 0;
    for (const TZEMItemSource& edge : sources) {
        Node& child = node.children[static_cast<std::size_t>(row)];
        child.parent = &node;
        child.item = edge.Index;
        child.row = row++;
        child.leaf = std::binary_search(path.begin(), path.end(),
                                        (*m_nameKeys)[static_cast<std::size_t>(edge.Index)]);
    }
    node.fetched = true;
    m_nodeCount += sources.count();
}

QModelIndex RecipeTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    Node* node = nodeOf(parent);
    return createIndex(row, column, &node->children[static_cast<std::size_t>(row)]);
}

QModelIndex RecipeTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    Node* up = nodeOf(child)->parent;
    if (up == nullptr || up == m_top.get()) {
        return {};
    }
    return createIndex(up->row, 0, up);
}

int RecipeTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    const Node* node = nodeOf(parent);
    return node->fetched ? static_cast<int>(node->children.size()) : 0;
}

int RecipeTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant RecipeTreeModel::data(const QModelIndex& index, int role) const {
    // The tooltip is the whole name: the narrow tree cuts long ones, and names that differ only
    // near their end would read alike.
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    return m_list->at(nodeOf(index)->item).Name;
}

Qt::ItemFlags RecipeTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!hasChildren(index)) {
        result |= Qt::ItemNeverHasChildren;
    }
    return result;
}

bool RecipeTreeModel::hasChildren(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return false;
    }
    const Node* node = nodeOf(parent);
    return node->fetched ? !node->children.empty() : canUnfold(*node);
}

bool RecipeTreeModel::canFetchMore(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return false;
    }
    return canUnfold(*nodeOf(parent));
}

void RecipeTreeModel::fetchSubtree(const QModelIndex& node) {
    if (!node.isValid() || node.model() != this) {
        return;
    }
    // One layout change for the whole subtree rather than rows inserted node by node: a view
    // told of each node's rows looks the node up among all the rows it shows, which at 86,000
    // roots costs more than making the nodes. No node made before moves, as children are made
    // only into empty lists.
    const QList<QPersistentModelIndex> parents{QPersistentModelIndex(node)};
    bool changing = false;
    std::vector<Node*> pending{nodeOf(node)};
    while (!pending.empty()) {
        Node* next = pending.back();
        pending.pop_back();
        if (canUnfold(*next)) {
            if (!changing) {
                Q_EMIT layoutAboutToBeChanged(parents);
                changing = true;
            }
            makeChildren(*next);
        }
        for (Node& child : next->children) {
            pending.push_back(&child);
        }
    }
    if (changing) {
        Q_EMIT layoutChanged(parents);
    }
}

void RecipeTreeModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    Node* node = nodeOf(parent);
    const int children = m_list->at(node->item).Sources.count();
    beginInsertRows(parent, 0, children - 1);
    makeChildren(*node);
    endInsertRows();
}
