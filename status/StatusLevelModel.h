#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointF>
#include <QStringList>
#include <optional>

#include "status/StatusLevelTable.h"
#include "status/TZEMStatusNow.h"

// The level table as a Qt model: one column per figure of the status window, one row per level.
// It shows the current character (build B), the pinned one (build A), or B - A coloured by
// whether B gains or loses, with a first row that names the level where each figure first
// differs. No widgets: the window and the exports read it alike.
class StatusLevelModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum class Mode { Current, Pinned, Difference };
    enum class Build { A, B };

    explicit StatusLevelModel(QObject* parent = nullptr);

    // Build B: the character of the status window. Its level marks the row to highlight.
    void setCurrent(const TZEMStatusNow& character);
    const TZEMStatusNow& current() const { return m_current; }
    // Build A: a copy of build B as it is now; unpinning falls back to showing B.
    void pin();
    // Build A: any character (a saved build, the status window's).
    void setPinned(const TZEMStatusNow& character);
    void unpin();
    bool hasPinned() const { return m_pinned.has_value(); }
    const TZEMStatusNow& pinned() const { return *m_pinned; }

    void setMode(Mode mode);
    Mode mode() const { return m_mode; }

    const StatusLevelTable& table(Build build) const {
        return build == Build::A ? m_pinnedTable : m_currentTable;
    }
    // One figure of one build over the levels, as points (level, value).
    QList<QPointF> series(Build build, int figure) const;

    // The row of the first-difference line in Difference mode; -1 in the other modes.
    int firstDifferenceRow() const { return m_mode == Mode::Difference ? 0 : -1; }
    // The level shown in a row, 0 for the first-difference line.
    int levelAt(int row) const { return row - (m_mode == Mode::Difference ? 0 : -1); }

    // The table as shown, with a heading row and the level column first, over the given
    // figures (all when empty): what the clipboard and the CSV file get.
    QList<QStringList> sheet(const QList<int>& figures = {}) const;

    // "陰陽師・武田　ボーナス 器用さ 2・知力 3・魅力 5": job, faction and bonus points.
    static QString describe(const TZEMStatusNow& character);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString text(int row, int figure) const;
    QVariant foreground(int row, int figure) const;
    QVariant background(int row, int figure) const;
    QString rowHeading(int row) const;
    void changed(int oldRowCount);

    TZEMStatusNow m_current;
    std::optional<TZEMStatusNow> m_pinned;
    StatusLevelTable m_currentTable;
    StatusLevelTable m_pinnedTable;
    Mode m_mode = Mode::Current;
};
