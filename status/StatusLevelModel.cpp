#include "status/StatusLevelModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include "status/StatusBuild.h"

namespace {

const QString LevelHeading = QStringLiteral("レベル");
const QString FirstDifferenceHeading = QStringLiteral("差が出るレベル");

QString signedNumber(std::int64_t n) {
    return n > 0 ? u'+' + QString::number(n) : QString::number(n);
}

}  // namespace

StatusLevelModel::StatusLevelModel(QObject* parent) : QAbstractTableModel(parent) {
    setCurrent(m_current);
}

void StatusLevelModel::setCurrent(const TZEMStatusNow& character) {
    const int rows = rowCount();
    m_current.Assign(character);
    m_current.Src.Calc();
    m_currentTable = StatusLevelTable(m_current);
    changed(rows);
}

void StatusLevelModel::pin() {
    const int rows = rowCount();
    m_pinned.emplace();
    m_pinned->Assign(m_current);
    m_pinned->Src.Calc();
    m_pinnedTable = m_currentTable;
    changed(rows);
}

void StatusLevelModel::setPinned(const TZEMStatusNow& character) {
    const int rows = rowCount();
    m_pinned.emplace();
    m_pinned->Assign(character);
    m_pinned->Src.Calc();
    m_pinnedTable = StatusLevelTable(*m_pinned);
    changed(rows);
}

void StatusLevelModel::unpin() {
    const int rows = rowCount();
    m_pinned.reset();
    m_pinnedTable = StatusLevelTable();
    m_mode = Mode::Current;
    changed(rows);
}

void StatusLevelModel::setMode(Mode mode) {
    const int rows = rowCount();
    m_mode = hasPinned() ? mode : Mode::Current;
    changed(rows);
}

void StatusLevelModel::changed(int oldRowCount) {
    // A change of the characters keeps the shape: repaint the cells and keep the view's
    // selection and scroll position. A change of the mode may add or drop the first line.
    if (rowCount() != oldRowCount) {
        beginResetModel();
        endResetModel();
        return;
    }
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

QList<QPointF> StatusLevelModel::series(Build build, int figure) const {
    QList<QPointF> points;
    points.reserve(StatusLevelTable::Levels);
    const StatusLevelTable& t = table(build);
    for (int level = 1; level <= StatusLevelTable::Levels; ++level) {
        points.append(QPointF(level, static_cast<qreal>(t.value(level, figure))));
    }
    return points;
}

int StatusLevelModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return StatusLevelTable::Levels + (m_mode == Mode::Difference ? 1 : 0);
}

int StatusLevelModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : StatusFigures::Count;
}

QString StatusLevelModel::text(int row, int figure) const {
    if (m_mode == Mode::Difference) {
        const StatusComparison comparison(m_pinnedTable, m_currentTable);
        if (row == firstDifferenceRow()) {
            const int level = comparison.firstDifference(figure);
            return level > 0 ? QString::number(level) : QStringLiteral("なし");
        }
        return signedNumber(comparison.difference(levelAt(row), figure));
    }
    const Build build = m_mode == Mode::Pinned ? Build::A : Build::B;
    return QString::number(table(build).value(levelAt(row), figure));
}

QVariant StatusLevelModel::foreground(int row, int figure) const {
    if (m_mode != Mode::Difference || row == firstDifferenceRow()) {
        return {};
    }
    switch (StatusComparison(m_pinnedTable, m_currentTable).verdict(levelAt(row), figure)) {
        case StatusComparison::Verdict::Better:
            return QBrush(QColor(0x10, 0x6b, 0x21));
        case StatusComparison::Verdict::Worse:
            return QBrush(QColor(0xb0, 0x1c, 0x1c));
        case StatusComparison::Verdict::Different:
            return QBrush(QColor(0x1f, 0x4e, 0xa8));
        case StatusComparison::Verdict::Same:
            break;
    }
    return QBrush(QColor(0x9a, 0x9a, 0x9a));
}

QVariant StatusLevelModel::background(int row, int figure) const {
    if (m_mode == Mode::Difference && row != firstDifferenceRow()) {
        switch (StatusComparison(m_pinnedTable, m_currentTable).verdict(levelAt(row), figure)) {
            case StatusComparison::Verdict::Better:
                return QBrush(QColor(0xe3, 0xf4, 0xe1));
            case StatusComparison::Verdict::Worse:
                return QBrush(QColor(0xfa, 0xe1, 0xe1));
            default:
                break;
        }
    }
    // The level the status window shows.
    if (levelAt(row) == m_current.LV) {
        return QBrush(QColor(0xff, 0xf6, 0xc8));
    }
    return {};
}

QVariant StatusLevelModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return text(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            return foreground(index.row(), index.column());
        case Qt::BackgroundRole:
            return background(index.row(), index.column());
        case Qt::FontRole:
            if (index.row() == firstDifferenceRow()) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
    }
}

QString StatusLevelModel::rowHeading(int row) const {
    return row == firstDifferenceRow() ? FirstDifferenceHeading : QString::number(levelAt(row));
}

QVariant StatusLevelModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= StatusFigures::Count) {
            return {};
        }
        return QString::fromUtf8(StatusFigures::all()[static_cast<std::size_t>(section)].heading);
    }
    if (section < 0 || section >= rowCount()) {
        return {};
    }
    return rowHeading(section);
}

QList<QStringList> StatusLevelModel::sheet(const QList<int>& figures) const {
    QList<int> columns = figures;
    if (columns.isEmpty()) {
        for (int f = 0; f < StatusFigures::Count; ++f) {
            columns << f;
        }
    }
    QList<QStringList> rows;
    QStringList heading{LevelHeading};
    for (int f : columns) {
        heading << headerData(f, Qt::Horizontal).toString();
    }
    rows << heading;
    for (int row = 0; row < rowCount(); ++row) {
        QStringList line{rowHeading(row)};
        for (int f : columns) {
            line << text(row, f);
        }
        rows << line;
    }
    return rows;
}

QString StatusLevelModel::describe(const TZEMStatusNow& character) {
    return QString::fromUtf8(TZEMStatusSrc::jobName(character.Src.JOB)) + u'・' +
           QString::fromUtf8(TZEMStatusSrc::factionName(character.Src.INF)) + u'　' +
           StatusBuild::of(character).bonusText();
}
