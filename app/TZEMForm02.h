#pragma once

#include <QIcon>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QToolBar;
class QToolButton;
class AlarmNotifier;
class AlarmSchedule;
class ClockOptions;
class ClockFaceMaker;
class FramePlacement;
class TZEMAnalogClock;
class TZEMBaseConfig;
class TrayIcon;
class StatusBuildBook;
class TZEMStatusNow;
class TZEMTime;
class TZEMTimeConfig;
class WindowPlaces;

// The controller: a narrow tool-bar window from which the user opens and closes the tool windows.
// It owns the objects that outlive any one tool window and hands them to the windows it creates.
class TZEMForm02 : public QWidget {
    Q_OBJECT

public:
    explicit TZEMForm02(QWidget* parent = nullptr);
    ~TZEMForm02() override;

    // Opens the tool window captioned `caption` if none is open (returns true: the caller creates
    // it), or closes the open one (returns false). The action's checked state follows.
    bool ToggleToolWindow(QAction* action, const QString& caption);

    // The shared objects; null until created, or when their creation step failed.
    TZEMStatusNow* statusNow() const { return StatusNow.get(); }
    TZEMTimeConfig* timeConfig() const { return TimeConfig.get(); }
    TZEMTime* gameClock() const { return GameClock.get(); }
    // The clock face, once its hands are turned (waiting for them).
    TZEMAnalogClock* analogClock() const;
    AlarmSchedule* alarmSchedule() const { return Alarms.get(); }
    ClockOptions* clockOptions() const { return m_clockOptions.get(); }
    const QStringList& jobList() const { return JobList; }
    const QStringList& versionList() const { return VersionList; }
    const QStringList& equipList() const { return EquipList; }
    QString itemDatabasePath() const;

    // Closes as the end button does, for a logout, a shutdown or a signal: nothing waits on the
    // user, and a file that cannot be written is reported on standard error.
    void closeForSession();

Q_SIGNALS:
    // The controller has closed and freed what it owns: the program should end.
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // A tool window that one button opens and closes.
    struct Tool {
        QAction* action = nullptr;
        QString caption;
        // Makes the window; throws when a shared object it reads is missing.
        std::function<QWidget*()> create;
        // The window releases its button when it goes (not so for a window whose button is
        // hidden).
        bool releasesButton = true;
    };
    enum ToolIndex {
        StatusTool,
        PotentialTool,
        TimerTool,
        ShipTool,
        CreateTool,
        JourneyTool,
        PanelTool
    };

    void buildControls();
    // The tool actions and m_tools, from one table.
    void buildTools();
    void toggleTool(const Tool& tool);
    QToolButton* addButton(QToolBar* bar, const QString& name, QAction* action, int image,
                           bool visible);
    // caption: what the button does, as its tooltip and its name for screen readers.
    QAction* makeAction(const QString& name, int image, bool checkable, const QString& caption);
    void FormCreate();
    void createSharedObjects();
    void createAlarms();
    void createTray();
    void FormCloseQuery();
    void closeToolWindows();
    void FormClose();
    void placeAtDefaultPosition();
    void adopt(QWidget* window, QAction* action);

    void SaS03StatusExecute();
    void SaS04PotentialExecute();
    void SaS05TimerExecute();
    void SaS06ShipExecute();
    void SaS08CreateExecute();
    void SaS09JourneyExecute();
    void SaSPanelExecute();
    void SaS99EndExecute();

    // Controls.
    QList<QIcon> ImageList1;
    QFrame* CoolBar1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QLabel* imgHour = nullptr;
    QLabel* imgMin = nullptr;
    QAction* SaS03Status = nullptr;
    QAction* SaS04Potential = nullptr;
    QAction* SaS05Timer = nullptr;
    QAction* SaS06Ship = nullptr;
    QAction* SaS08Create = nullptr;
    QAction* SaS09Journey = nullptr;
    QAction* SaSPanel = nullptr;
    QAction* SaS99End = nullptr;
    QList<QAction*> m_toolBar1Slots;  // the counted buttons of ToolBar1, as tool-bar entries
    QAction* m_configSlot = nullptr;
    QAction* m_endSlot = nullptr;
    std::vector<Tool> m_tools;  // in ToolIndex order

    // Owned objects, freed in FormClose in a fixed order.
    std::unique_ptr<TZEMBaseConfig> BaseConfig;
    std::unique_ptr<TZEMStatusNow> StatusNow;
    std::unique_ptr<StatusBuildBook> m_builds;  // TAMUBuilds.ini
    std::unique_ptr<TZEMTimeConfig> TimeConfig;
    std::unique_ptr<TZEMTime> GameClock;
    // Made on a thread of its own from start-up on.
    std::unique_ptr<ClockFaceMaker> AnalogClock;
    std::unique_ptr<ClockOptions> m_clockOptions;
    QStringList JobList;
    QStringList VersionList;
    QStringList EquipList;
    // The alarms ring whether or not the journey planner is open.
    std::unique_ptr<AlarmSchedule> Alarms;
    std::unique_ptr<AlarmNotifier> m_notifier;
    std::unique_ptr<TrayIcon> m_tray;
    // Where the windows that no rule places were left (TAMUWindows.ini).
    std::unique_ptr<WindowPlaces> m_places;

    bool m_useDefaultPosition = true;
    FramePlacement* m_placement = nullptr;
    bool m_closed = false;
    bool m_sessionClose = false;
};
