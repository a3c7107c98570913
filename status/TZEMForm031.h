#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "status/StatusLevelModel.h"

class QAction;
class LevelPlotWidget;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;
class StatusBuildBook;

// レベル別一覧: every figure of the status window at every level for build B, and build A to
// compare with, a plot of chosen figures, and the table to the clipboard or a CSV file. B is the
// character of the status window (which it follows while both are open) or a saved build; A is a
// pinned copy of B, the status window's character or a saved build. A saved build that is
// deleted leaves B to the status window and A pinned as it was.
class TZEMForm031 : public QWidget {
    Q_OBJECT

public:
    // Without a book of saved builds only the status window's character can be chosen.
    explicit TZEMForm031(const TZEMStatusNow& character, StatusBuildBook* builds = nullptr,
                         QWidget* parent = nullptr);

    // What a build shows: the pinned copy (A only), the status window's character, or the saved
    // build of that number.
    static constexpr int Pinned = -2;
    static constexpr int Calculator = -1;
    int buildSource(StatusLevelModel::Build build) const;
    void setBuildSource(StatusLevelModel::Build build, int source);

    // The open level table window, if there is one.
    static TZEMForm031* openWindow();

    StatusLevelModel& model() { return *m_model; }
    const StatusLevelModel& model() const { return *m_model; }

    // Build B becomes this character (the status window calls it after every recomputation).
    void followStatus(const TZEMStatusNow& character);

    // Command handlers.
    void evtPinClick();
    void evtUnpinClick();
    void selBuildAChange();
    void selBuildBChange();
    void selModeChange();
    void evtCopyClick();
    void evtSaveCsvClick();
    // Writes the table as shown to a CSV file; throws the "cannot write" error.
    void saveCsv(const QString& fileName) const;
    // The table as shown (visible columns only) as tab-separated text.
    QString tableText() const;
    // The selected rows and columns of the table, with headings (Ctrl+C); all when none.
    QString selectionText() const;
    // The figures shown in the table, in column order.
    QList<int> visibleFigures() const;
    void setFigureVisible(int figure, bool visible);
    // The figures plotted.
    QList<int> plottedFigures() const;
    void setFigurePlotted(int figure, bool plotted);
    // The text shown for the point of a plotted line nearest to the given level.
    QString hoverText(StatusLevelModel::Build build, int figure, qreal level) const;
    // Where the save dialog would ask; tests answer it.
    void setFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildTablePage();
    QWidget* buildChartPage();
    void showBuilds();
    void fillBuildChoices();
    // Gives the model the characters the sources name.
    void applySources();
    void updateChart();
    QString askFileName();
    // A command handler run through the error display.
    std::function<void()> guarded(void (TZEMForm031::*handler)());

    StatusLevelModel* m_model = nullptr;
    QPointer<StatusBuildBook> m_builds;
    TZEMStatusNow m_calculator;
    int m_sourceA = Pinned;
    int m_sourceB = Calculator;
    QComboBox* m_selA = nullptr;
    QComboBox* m_selB = nullptr;
    QLabel* m_buildB = nullptr;
    QLabel* m_buildA = nullptr;
    QPushButton* m_pin = nullptr;
    QPushButton* m_unpin = nullptr;
    QTabWidget* m_pages = nullptr;
    QComboBox* m_mode = nullptr;
    QTableView* m_table = nullptr;
    QList<QAction*> m_columnActions;
    QListWidget* m_plotChoice = nullptr;
    LevelPlotWidget* m_plot = nullptr;
    QLabel* m_hover = nullptr;
    bool m_chartStale = true;
    std::function<QString()> m_chooseFile;
};
