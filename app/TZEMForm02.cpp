#include "app/TZEMForm02.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>

#include "app/FramePlacement.h"
#include "app/ModalUnwind.h"
#include "app/TZEMBaseConfig.h"
#include "app/TZEMsplash.h"
#include "app/ToolBarWidth.h"
#include "app/TrayIcon.h"
#include "common/DataFolder.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/ScreenAreas.h"
#include "common/WindowPlaces.h"
#include "gametime/ClockFaceMaker.h"
#include "gametime/ClockOptions.h"
#include "gametime/TZEMAnalogClock.h"
#include "gametime/TZEMForm07.h"
#include "gametime/TZEMTime.h"
#include "gametime/TZEMTimeConfig.h"
#include "mdbimport/ImportProgress.h"
#include "mdbimport/StartupImport.h"
#include "recipes/ChoiceLists.h"
#include "recipes/TZEMForm08.h"
#include "resources/Artwork.h"
#include "ship/AlarmNotifier.h"
#include "ship/AlarmSchedule.h"
#include "ship/GlancePanel.h"
#include "ship/TZEMForm06.h"
#include "ship/TZEMForm09.h"
#include "status/StatusBuildBook.h"
#include "status/TZEMForm03.h"
#include "status/TZEMForm04.h"
#include "status/TZEMStatusNow.h"

namespace {

constexpr int ClientHeight = 55;
constexpr int BandHeight = 50;
constexpr int GripWidth = 11;
constexpr int ImageCount = Artwork::toolCount;
constexpr int HandPictureSize = Artwork::handSize;

const QString StatusCaption = QStringLiteral("ステータス計算機");
const QString PotentialCaption = QStringLiteral("潜在能力計算機");
const QString TimerCaption = QStringLiteral("時間・タイマー");
const QString ShipCaption = QStringLiteral("船発着時刻表");
const QString CreateCaption = QStringLiteral("生産レシピ検索");
const QString JourneyCaption = QStringLiteral("航路案内");
const QString PanelCaption = QStringLiteral("時刻パネル");

// A window that was closed and waits for its deferred delete no longer counts as open.
bool isClosing(const QWidget* window) {
    return window->testAttribute(Qt::WA_DeleteOnClose) && window->isHidden() &&
           window->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

QToolBar* makeBar(const QString& name, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Buttons sit side by side from an indent of 2, without the style's own padding, so that a
    // bar is exactly as wide as its buttons.
    bar->setStyleSheet(
        QStringLiteral("QToolBar { padding: 0px 0px 0px 2px; spacing: 0px; "
                       "border: none; background: transparent; }"));
    bar->setMinimumHeight(BandHeight);
    return bar;
}

QFrame* makeGrip(QWidget* parent) {
    auto* grip = new QFrame(parent);
    grip->setFrameShape(QFrame::VLine);
    grip->setFrameShadow(QFrame::Raised);
    grip->setLineWidth(2);
    return grip;
}

}  // namespace

TZEMForm02::TZEMForm02(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TZEMForm02"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("TAMU コントローラー"));
    setFont(Fonts::font(Fonts::PGothic, 12));
    buildControls();
    m_placement = new FramePlacement(this, [this] { placeAtDefaultPosition(); });
    FormCreate();
}

TZEMForm02::~TZEMForm02() {
    if (!m_closed) {
        closeToolWindows();
        FormClose();
    }
}

TZEMAnalogClock* TZEMForm02::analogClock() const {
    return AnalogClock ? &AnalogClock->face() : nullptr;
}

QString TZEMForm02::itemDatabasePath() const {
    return DataFolder::path() + QStringLiteral("TAMU_Item.db");
}

QAction* TZEMForm02::makeAction(const QString& name, int image, bool checkable,
                                const QString& caption) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setToolTip(caption);
    action->setProperty("category", QStringLiteral("StartAndStop"));
    action->setIcon(ImageList1.value(image));
    action->setCheckable(checkable);
    return action;
}

QToolButton* TZEMForm02::addButton(QToolBar* bar, const QString& name, QAction* action, int image,
                                   bool visible) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setFixedSize(39, 38);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    if (action) {
        button->setDefaultAction(action);
        button->setAccessibleName(action->text());
    } else {
        button->setIcon(ImageList1.value(image));
    }
    QAction* slot = bar->addWidget(button);
    slot->setVisible(visible);
    return button;
}

void TZEMForm02::buildControls() {
    for (int i = 0; i < ImageCount; ++i) {
        ImageList1 << Artwork::toolIcon(i);
    }
    buildTools();
    SaS99End = makeAction(QStringLiteral("SaS99End"), 3, false, QStringLiteral("TAMU を終了"));
    connect(SaS99End, &QAction::triggered, this, &TZEMForm02::SaS99EndExecute);

    CoolBar1 = new QFrame(this);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    CoolBar1->setFrameShape(QFrame::StyledPanel);
    CoolBar1->setFrameShadow(QFrame::Raised);

    ToolBar1 = makeBar(QStringLiteral("ToolBar1"), CoolBar1);
    struct Button {
        const char* name;
        QAction* action;
        int image;
        bool visible;
        bool counted;
    };
    const Button bar1[] = {
        {"btn03Status", SaS03Status, 5, true, true},
        {"btn04Potential", SaS04Potential, 1, false, true},
        {"btn05Time", SaS05Timer, 6, true, true},
        {"btn06Ship", SaS06Ship, 0, true, true},
        {"btn08Create", SaS08Create, 4, true, true},
        {"btn09Journey", SaS09Journey, 17, true, true},
        {"btnPanel", SaSPanel, 18, true, true},
        {"btn09Technic", nullptr, 8, false, true},
        {"btn10Item", nullptr, 7, false, true},
        {"btn11NPC", nullptr, 9, false, true},
        {"ToolButton1", nullptr, 16, false, false},
    };
    for (const Button& b : bar1) {
        addButton(ToolBar1, QString::fromLatin1(b.name), b.action, b.image, b.visible);
        if (b.counted) {
            m_toolBar1Slots << ToolBar1->actions().constLast();
        }
    }

    ToolBar2 = makeBar(QStringLiteral("ToolBar2"), CoolBar1);
    const Button bar2[] = {{"btn98WHorizon", nullptr, 13, false, false},
                           {"btn98WNext", nullptr, 14, false, false},
                           {"btn98WSort", nullptr, 15, false, false},
                           {"btn98WVertival", nullptr, 12, false, false}};
    for (const Button& b : bar2) {
        addButton(ToolBar2, QString::fromLatin1(b.name), b.action, b.image, b.visible);
    }
    ToolBar2->setVisible(false);

    ToolBar3 = makeBar(QStringLiteral("ToolBar3"), CoolBar1);
    addButton(ToolBar3, QStringLiteral("btn99Config"), nullptr, 10, false);
    m_configSlot = ToolBar3->actions().constLast();
    addButton(ToolBar3, QStringLiteral("btn99End"), SaS99End, 3, true);
    m_endSlot = ToolBar3->actions().constLast();

    // The hand pictures the clock face is made from, in device pixels so that the rotated hands
    // are sharp on a high-density screen; never shown.
    const QSize handSize = Artwork::devicePixels(QSize(HandPictureSize, HandPictureSize));
    imgHour = new QLabel(this);
    imgHour->setObjectName(QStringLiteral("imgHour"));
    imgHour->setPixmap(QPixmap::fromImage(Artwork::image(QStringLiteral("hand_hour"), handSize)));
    imgHour->setGeometry(0, 0, 105, 105);
    imgHour->hide();
    imgMin = new QLabel(this);
    imgMin->setObjectName(QStringLiteral("imgMin"));
    imgMin->setPixmap(QPixmap::fromImage(Artwork::image(QStringLiteral("hand_minute"), handSize)));
    imgMin->setGeometry(0, 0, 105, 105);
    imgMin->hide();
}

void TZEMForm02::FormCreate() {
    // 1. Width: the client follows the visible buttons.
    ToolBarVisibility visibility;
    visibility.toolBar1 = !ToolBar1->isHidden();
    visibility.toolBar1Buttons = 0;
    for (const QAction* slot : m_toolBar1Slots) {
        visibility.toolBar1Buttons += slot->isVisible() ? 1 : 0;
    }
    visibility.toolBar2 = !ToolBar2->isHidden();
    visibility.toolBar3 = !ToolBar3->isHidden();
    visibility.configButton = m_configSlot->isVisible();
    visibility.endButton = m_endSlot->isVisible();
    const ToolBarWidths widths = toolBarWidths(visibility);

    setFixedSize(widths.clientWidth, ClientHeight);
    CoolBar1->setGeometry(0, 0, widths.clientWidth, ClientHeight);
    int x = 0;
    const int top = (ClientHeight - BandHeight) / 2;
    auto placeBand = [&](QToolBar* bar, int barWidth) {
        QFrame* grip = makeGrip(CoolBar1);
        grip->setGeometry(x + 2, top + 4, GripWidth - 4, BandHeight - 8);
        bar->setGeometry(x + GripWidth, top, barWidth, BandHeight);
        x += GripWidth + barWidth + 2;
    };
    if (visibility.toolBar1) {
        placeBand(ToolBar1, widths.toolBar1Width);
    }
    if (visibility.toolBar2) {
        placeBand(ToolBar2, 16 + 4 * 39);
    }
    if (visibility.toolBar3) {
        const int buttons = (visibility.configButton ? 1 : 0) + (visibility.endButton ? 1 : 0);
        placeBand(ToolBar3, 4 + 39 * buttons);
    }

    // 2. Default position: 10 pixels in from the bottom-right corner of the work area.
    placeAtDefaultPosition();

    // 3. The saved position wins when both values are present, unless it lies on a monitor that
    // is no longer there: that would leave the controller out of reach.
    Messages::guarded([&] {
        BaseConfig = std::make_unique<TZEMBaseConfig>(DataFolder::path());
        const QPoint saved(BaseConfig->Left, BaseConfig->Top);
        if (BaseConfig->Top != -1 && BaseConfig->Left != -1 &&
            ScreenAreas::reachable(QRect(saved, frameGeometry().size()))) {
            move(saved);
            m_useDefaultPosition = false;
        }
    });

    // 4. The shared objects; a failing step ends the creation there.
    Messages::guarded([&] { createSharedObjects(); });
    // 5. The alarms, which need only the game clock (not the item database).
    Messages::guarded([&] { createAlarms(); });
    Messages::guarded([&] { createTray(); });
    // 6. The remembered places of the windows that open beside the controller.
    Messages::guarded([&] {
        m_places = std::make_unique<WindowPlaces>(DataFolder::path());
        m_places->setController(this);
        WindowPlaces::setShared(m_places.get());
    });
}

void TZEMForm02::createAlarms() {
    if (!GameClock) {
        return;
    }
    m_notifier = std::make_unique<AlarmNotifier>();
    Alarms = std::make_unique<AlarmSchedule>(*GameClock, DataFolder::path());
    Alarms->setRinger([notifier = m_notifier.get()](const QString& title, const QString& text) {
        notifier->notify(title, text);
    });
}

void TZEMForm02::createTray() {
    if (!GameClock) {
        return;
    }
    QList<QAction*> tools;
    for (const Tool& tool : m_tools) {
        if (tool.releasesButton) {  // the potential window has no button of its own
            tools << tool.action;
        }
    }
    m_tray = TrayIcon::makeIfAvailable(*GameClock, Alarms.get(), tools, SaS99End, this);
    if (m_tray && m_notifier) {
        m_notifier->useTray(m_tray->icon());
    }
}

void TZEMForm02::createSharedObjects() {
    StatusNow = std::make_unique<TZEMStatusNow>();
    m_builds = std::make_unique<StatusBuildBook>(DataFolder::path());
    TimeConfig = std::make_unique<TZEMTimeConfig>(DataFolder::path());
    GameClock = std::make_unique<TZEMTime>(this);
    GameClock->SetFromAnchor(TimeConfig->SetTime, TimeConfig->NowDateTime);
    // On a high-density screen the hands' squares are four times as large and more: there the
    // face keeps only their drawn parts.
    AnalogClock = std::make_unique<ClockFaceMaker>(
        imgHour->pixmap().toImage(), imgMin->pixmap().toImage(),
        Artwork::deviceRatio() > 1.0 ? TZEMAnalogClock::Storage::DrawnPart
                                     : TZEMAnalogClock::Storage::Whole);
    m_clockOptions = std::make_unique<ClockOptions>(DataFolder::path());
    JobList.clear();
    VersionList.clear();
    EquipList.clear();
    // A user's Access item database that differs from the one last imported is brought in first.
    StartupImport startupImport(DataFolder::path(), QCoreApplication::applicationDirPath());
    startupImport.setProgressWindow(ImportProgress::window());
    startupImport.run();
    loadChoiceLists(itemDatabasePath(), JobList, VersionList, EquipList);
}

void TZEMForm02::placeAtDefaultPosition() {
    const QRect work = ScreenAreas::workArea();
    const QRect frame = frameGeometry();
    const int bottom = work.y() + work.height();
    const int right = work.x() + work.width();
    move(right - frame.width() - 10, bottom - frame.height() - 10);
}

void TZEMForm02::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_useDefaultPosition) {
        m_placement->start();
    }
}

void TZEMForm02::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    m_placement->windowMoved();
}

bool TZEMForm02::ToggleToolWindow(QAction* action, const QString& caption) {
    action->setChecked(false);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window != this && window->windowTitle() == caption && !isClosing(window)) {
            window->close();
            action->setChecked(true);
            break;
        }
    }
    action->setChecked(!action->isChecked());
    return action->isChecked();
}

void TZEMForm02::adopt(QWidget* window, QAction* action) {
    if (action) {
        connect(window, &QObject::destroyed, this, [action] { action->setChecked(false); });
    }
    window->show();
    window->raise();
    window->activateWindow();
}

namespace {

TZEMError missingSharedObject() {
    return TZEMError(QStringLiteral("起動時の準備に失敗したため、このツールは使えません"));
}

}  // namespace

void TZEMForm02::buildTools() {
    const auto need = [](bool present) {
        if (!present) {
            throw missingSharedObject();
        }
    };
    struct Row {
        QAction* TZEMForm02::*action;
        const char* name;
        int image;
        QString caption;
        void (TZEMForm02::*handler)();
        std::function<QWidget*()> create;
        bool releasesButton = true;
    };
    // In the order of ToolIndex.
    const Row rows[] = {
        {&TZEMForm02::SaS03Status, "SaS03Status", 5, StatusCaption, &TZEMForm02::SaS03StatusExecute,
         [this, need] {
             need(StatusNow != nullptr);
             return new TZEMForm03(*StatusNow, m_builds.get());
         }},
        // The potential window only frees itself: its button is hidden.
        {&TZEMForm02::SaS04Potential, "SaS04Potential", 1, PotentialCaption,
         &TZEMForm02::SaS04PotentialExecute, [] { return new TZEMForm04(); }, false},
        {&TZEMForm02::SaS05Timer, "SaS05Timer", 6, TimerCaption, &TZEMForm02::SaS05TimerExecute,
         [this, need] {
             need(GameClock && AnalogClock);
             return new TZEMForm07(*GameClock, *analogClock(), m_clockOptions.get());
         }},
        {&TZEMForm02::SaS06Ship, "SaS06Ship", 0, ShipCaption, &TZEMForm02::SaS06ShipExecute,
         [this, need] {
             need(GameClock && TimeConfig);
             return new TZEMForm06(*GameClock, *TimeConfig, Alarms.get());
         }},
        {&TZEMForm02::SaS08Create, "SaS08Create", 4, CreateCaption, &TZEMForm02::SaS08CreateExecute,
         [this] { return new TZEMForm08(JobList, VersionList, EquipList, itemDatabasePath()); }},
        {&TZEMForm02::SaS09Journey, "SaS09Journey", 17, JourneyCaption,
         &TZEMForm02::SaS09JourneyExecute,
         [this, need] {
             need(GameClock && Alarms);
             return new TZEMForm09(*GameClock, *Alarms);
         }},
        {&TZEMForm02::SaSPanel, "SaSPanel", 18, PanelCaption, &TZEMForm02::SaSPanelExecute,
         [this, need] {
             need(GameClock != nullptr);
             return new GlancePanel(*GameClock, Alarms.get(), DataFolder::path());
         }},
    };
    for (const Row& row : rows) {
        QAction* action = makeAction(QString::fromLatin1(row.name), row.image, true, row.caption);
        this->*row.action = action;
        connect(action, &QAction::triggered, this, row.handler);
        m_tools.push_back(Tool{action, row.caption, row.create, row.releasesButton});
    }
}

void TZEMForm02::toggleTool(const Tool& tool) {
    if (!ToggleToolWindow(tool.action, tool.caption)) {
        return;
    }
    // A window that cannot be made leaves its button released.
    if (!Messages::guarded(
            [&] { adopt(tool.create(), tool.releasesButton ? tool.action : nullptr); })) {
        tool.action->setChecked(false);
    }
}

void TZEMForm02::SaS03StatusExecute() {
    toggleTool(m_tools[StatusTool]);
}

void TZEMForm02::SaS04PotentialExecute() {
    toggleTool(m_tools[PotentialTool]);
}

void TZEMForm02::SaS05TimerExecute() {
    toggleTool(m_tools[TimerTool]);
}

void TZEMForm02::SaS06ShipExecute() {
    toggleTool(m_tools[ShipTool]);
}

void TZEMForm02::SaS08CreateExecute() {
    toggleTool(m_tools[CreateTool]);
}

void TZEMForm02::SaS09JourneyExecute() {
    toggleTool(m_tools[JourneyTool]);
}

void TZEMForm02::SaSPanelExecute() {
    toggleTool(m_tools[PanelTool]);
}

void TZEMForm02::SaS99EndExecute() {
    close();
}

void TZEMForm02::closeForSession() {
    m_sessionClose = true;
    // Never from inside a dialog's loop: its window would go under the handler that opened it.
    ModalUnwind::endAllThen(this, [this] { close(); });
}

void TZEMForm02::FormCloseQuery() {
    Messages::guarded([&] {
        if (BaseConfig) {
            const QRect frame = frameGeometry();
            BaseConfig->Save(frame.top(), frame.left());
        }
    });
}

void TZEMForm02::closeToolWindows() {
    // Tool windows (and profit calculators) go first, without their close handlers: they read
    // the shared objects that FormClose frees next. Where they stand is kept all the same.
    if (m_places) {
        m_places->recordOpenWindows();
    }
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // Pop-ups and drop-down lists are windows too, but belong to their parents.
        if (window != this && !window->parentWidget() && !qobject_cast<QMessageBox*>(window) &&
            !qobject_cast<TZEMsplash*>(window)) {
            windows << window;
        }
    }
    for (const QPointer<QWidget>& window : windows) {
        delete window.data();
    }
}

void TZEMForm02::FormClose() {
    StatusNow.reset();
    m_builds.reset();        // every change was written when it was made
    TimeConfig.reset();      // writes the clock state file
    m_clockOptions.reset();  // writes the clock window's options when they changed
    BaseConfig.reset();
    Messages::guarded([&] {
        if (Alarms) {
            Alarms->save();  // TAMUAlarm.ini
        }
    });
    // The tray reads the alarms and the game clock. It is freed with the controller: the end
    // button's action, which its menu holds, may be reporting the very click that ends TAMU.
    if (m_tray) {
        m_tray->shutDown();
    }
    Alarms.reset();  // reads the game clock: goes before it
    Messages::guarded([&] {
        if (m_places) {
            m_places->save();  // TAMUWindows.ini
        }
    });
    m_places.reset();
    m_notifier.reset();
    GameClock.reset();  // stops the ticks
    AnalogClock.reset();
    JobList.clear();
    VersionList.clear();
    EquipList.clear();
}

void TZEMForm02::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    // A settings or clock-state file that cannot be written must not keep the program open:
    // collect what went wrong while closing and say it once, then close anyway.
    QStringList problems;
    const Messages::Presenters previous = Messages::setPresenters(
        Messages::Presenters{[&problems](const QString& text) { problems << text; },
                             [&problems](const QString& text) { problems << text; },
                             [](const QString&, const QString&) { return true; }});
    FormCloseQuery();
    closeToolWindows();
    FormClose();
    Messages::setPresenters(previous);
    m_closed = true;
    if (!problems.isEmpty()) {
        problems.removeDuplicates();
        if (m_sessionClose) {
            std::fprintf(stderr, "TAMU: %s\n", qUtf8Printable(problems.join(u'\n')));
        } else {
            Messages::showError(problems.join(u'\n'));
        }
    }
    event->accept();
    Q_EMIT ended();
}
