#include "status/TZEMForm03.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "common/Controls.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/TZEMSpinEdit.h"
#include "common/ToolWindow.h"
#include "common/WindowPlaces.h"
#include "status/StatusBuildBook.h"
#include "status/StatusFigures.h"
#include "status/TZEMForm031.h"
#include "status/TZEMForm032.h"

namespace {

// List position -> faction code.
constexpr std::array<int, 14> factionOrder{0, 4, 6, 5, 3, 1, 2, 9, 7, 8, 13, 10, 11, 12};

struct Text {
    const char* name;
    const char* text;
    int left;
    int top;
};

struct Value {
    const char* name;
    int left;
    int top;
    int width;
    const char* text;
};

constexpr std::array<Text, 10> startHeadings{{
    {"Label12", "ボーナス", 52, 24},
    {"Label7", "腕力", 8, 44},
    {"Label8", "耐久力", 8, 72},
    {"Label9", "器用さ", 8, 100},
    {"Label10", "知力", 8, 128},
    {"Label11", "魅力", 8, 156},
    {"Label18", "土属性", 8, 208},
    {"Label19", "水属性", 8, 224},
    {"Label20", "火属性", 8, 240},
    {"Label21", "風属性", 8, 256},
}};

constexpr std::array<Value, 9> startValues{{
    {"viwBPOW", 108, 44, 18, "999"},
    {"viwBVIT", 108, 72, 18, "999"},
    {"viwBDEX", 108, 100, 18, "999"},
    {"viwBINT", 108, 128, 18, "999"},
    {"viwBPHI", 108, 156, 18, "999"},
    {"viwBSOL", 108, 208, 18, "999"},
    {"viwBWTR", 108, 224, 18, "999"},
    {"viwBFIR", 108, 240, 18, "999"},
    {"viwBWND", 108, 256, 18, "999"},
}};

constexpr std::array<Text, 22> resultHeadings{{
    {"Label26", "レベル", 20, 24},       {"Label35", "生命", 8, 48},
    {"Label36", "気合", 8, 64},          {"Label39", "腕力", 8, 80},
    {"Label38", "耐久力", 8, 96},        {"Label37", "器用さ", 8, 112},
    {"Label40", "知力", 8, 128},         {"Label41", "魅力", 8, 144},
    {"Label42", "技能枠", 8, 160},       {"Label45", "土属性", 88, 80},
    {"Label46", "水属性", 88, 96},       {"Label47", "火属性", 88, 112},
    {"Label48", "風属性", 88, 128},      {"Label1", "生命回復量", 8, 184},
    {"Label2", "気合回復量", 8, 200},    {"Label44", "命中", 28, 216},
    {"Label43", "回避", 28, 232},        {"Label4", "攻撃消費気合", 8, 248},
    {"Label49", "限界最大重量", 8, 268}, {"Label3", "食料適正価値", 8, 284},
    {"Label5", "現在経験値", 8, 308},    {"Label6", "次回必要経験値", 8, 324},
}};

constexpr std::array<Value, 21> resultValues{{
    {"viwNHP", 46, 48, 24, "9999"},         {"viwNMP", 46, 64, 24, "9999"},
    {"viwNPOW", 52, 80, 18, "999"},         {"viwNVIT", 52, 96, 18, "999"},
    {"viwNDEX", 52, 112, 18, "999"},        {"viwNINT", 52, 128, 18, "999"},
    {"viwNPHI", 52, 144, 18, "999"},        {"viwNSLT", 52, 160, 18, "999"},
    {"viwNSOL", 132, 80, 18, "999"},        {"viwNWTR", 132, 96, 18, "999"},
    {"viwNFIR", 132, 112, 18, "999"},       {"viwNWND", 132, 128, 18, "999"},
    {"viwNHPG", 100, 184, 18, "999"},       {"viwNMPG", 100, 200, 18, "999"},
    {"viwNHIT", 100, 216, 18, "999"},       {"viwNAVD", 100, 232, 18, "999"},
    {"viwNAMP", 100, 248, 18, "999"},       {"viwNMWT", 100, 268, 18, "999"},
    {"viwNEAT", 100, 284, 18, "999"},       {"viwNEXP", 98, 308, 60, "9999999999"},
    {"viwNNEX", 98, 324, 60, "9999999999"},
}};

QLabel* heading(QWidget* parent, const Text& t) {
    return Controls::label(parent, QString::fromUtf8(t.text), QPoint(t.left, t.top),
                           QString::fromLatin1(t.name));
}

QLabel* valueLabel(QWidget* parent, const Value& v) {
    auto* label = new QLabel(QString::fromLatin1(v.text), parent);
    label->setObjectName(QString::fromLatin1(v.name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The widths were chosen for glyphs of 6 pixels a digit; wider substitute fonts get the room
    // they need, growing to the left so that the right edge stays where it belongs.
    const int width = qMax(v.width, label->fontMetrics().horizontalAdvance(label->text()) + 1);
    label->setGeometry(v.left + v.width - width, v.top, width, 12);
    return label;
}

// A label in a sunken panel.
QLabel* staticText(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    QLabel* label = Controls::label(parent, text, place, Fonts::font(Fonts::PGothic, 13),
                                    QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    return label;
}

QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& items,
                    const QString& initial, const QRect& place) {
    QComboBox* combo = Controls::comboBox(parent, QString::fromLatin1(name), place);
    combo->setCompleter(nullptr);  // typed text stays what was typed
    combo->setFont(Fonts::font(Fonts::PMincho, 13));
    combo->setAttribute(Qt::WA_InputMethodEnabled, false);
    combo->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    combo->addItems(items);
    combo->setMaxVisibleItems(static_cast<int>(items.size()));
    combo->setEditText(initial);
    return combo;
}

TZEMSpinEdit* spinEdit(QWidget* parent, const char* name, int minValue, int maxValue,
                       const QRect& place) {
    auto* spin = new TZEMSpinEdit(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setBounds(minValue, maxValue);
    spin->setValue(minValue);
    spin->setGeometry(place);
    return spin;
}

}  // namespace

TZEMForm03::TZEMForm03(TZEMStatusNow& statusNow, StatusBuildBook* builds, QWidget* parent)
    : QWidget(parent), m_controllerStatus(statusNow), m_builds(builds) {
    setObjectName(QStringLiteral("TZEMForm03"));
    ToolWindow::setup(this, QStringLiteral("ステータス計算機"), QSize(408, 386));
    buildControls();
    Messages::guarded([this] { FormCreate(); });
}

TZEMForm03::~TZEMForm03() {
    // No handler may run on a half-destroyed window (the boxes lose focus as they go).
    iptDEX->removeEventFilter(this);
    for (QObject* child : findChildren<QObject*>()) {
        child->disconnect(this);
    }
}

int TZEMForm03::factionCodeAt(int position) {
    return position >= 0 && position < static_cast<int>(factionOrder.size())
               ? factionOrder[static_cast<std::size_t>(position)]
               : -1;
}

int TZEMForm03::factionPosition(int code) {
    for (std::size_t i = 0; i < factionOrder.size(); ++i) {
        if (factionOrder[i] == code) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TZEMForm03::buildControls() {
    QStringList factions;
    for (int code : factionOrder) {
        factions << QString::fromUtf8(TZEMStatusSrc::factionName(code));
    }
    QStringList jobs;
    for (int code = 0; code < TZEMStatusSrc::JobCount; ++code) {
        jobs << QString::fromUtf8(TZEMStatusSrc::jobName(code));
    }

    staticText(this, "StaticText6", QStringLiteral("所属勢力"), QRect(12, 12, 57, 21));
    iptINF = comboBox(this, "iptINF", factions, QStringLiteral("勢力"), QRect(76, 12, 89, 21));
    staticText(this, "StaticText7", QStringLiteral("職業"), QRect(12, 36, 57, 21));
    iptJOB = comboBox(this, "iptJOB", jobs, QStringLiteral("職業"), QRect(76, 36, 89, 21));

    auto* start = new QGroupBox(QStringLiteral("初期ステータス"), this);
    start->setObjectName(QStringLiteral("gStartStatus"));
    start->setGeometry(16, 72, 149, 297);
    for (const Text& t : startHeadings) {
        heading(start, t);
    }
    iptPOW = spinEdit(start, "iptPOW", 0, 8, QRect(52, 40, 45, 22));
    iptVIT = spinEdit(start, "iptVIT", 0, 8, QRect(52, 68, 45, 22));
    iptDEX = spinEdit(start, "iptDEX", 0, 8, QRect(52, 96, 45, 22));
    iptINT = spinEdit(start, "iptINT", 0, 8, QRect(52, 123, 45, 22));
    iptPHI = spinEdit(start, "iptPHI", 0, 8, QRect(52, 151, 45, 22));
    // The level box names no font: it keeps the window's, like the values beside it.
    for (TZEMSpinEdit* box : {iptPOW, iptVIT, iptDEX, iptINT, iptPHI}) {
        box->setMaxLength(1);
        box->setFont(Fonts::font(Fonts::PMincho, 13));
    }
    for (const Value& v : startValues) {
        valueLabel(start, v);
    }
    viwLastBonus =
        staticText(start, "viwLastBonus", QStringLiteral("残り 10"), QRect(48, 176, 51, 21));
    viwLastBonus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* arrow = new QLabel(QStringLiteral("→"), this);
    arrow->setObjectName(QStringLiteral("Label33"));
    arrow->setFont(Fonts::font(Fonts::PMincho, 48, true));
    arrow->move(176, 192);
    arrow->adjustSize();

    auto* result = new QGroupBox(QStringLiteral("ステータス 反映結果"), this);
    result->setObjectName(QStringLiteral("gRefrectStatus"));
    result->setGeometry(236, 28, 165, 345);
    for (const Text& t : resultHeadings) {
        heading(result, t);
    }
    iptLV = spinEdit(result, "iptLV", 1, TZEMStatusNow::MaxLevel, QRect(92, 20, 61, 21));
    for (const Value& v : resultValues) {
        valueLabel(result, v);
    }

    auto* levelTable = new QPushButton(QStringLiteral("レベル別一覧"), this);
    levelTable->setObjectName(QStringLiteral("evtLevelTable"));
    levelTable->setGeometry(296, 3, 105, 22);
    // Reached by Tab after the level; a click leaves the focus in the input being edited.
    levelTable->setFocusPolicy(Qt::TabFocus);
    connect(levelTable, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { evtLevelTableClick(); }); });

    auto* builds = new QPushButton(QStringLiteral("保存ビルド…"), this);
    builds->setObjectName(QStringLiteral("evtBuilds"));
    builds->setGeometry(186, 3, 105, 22);
    builds->setToolTip(
        QStringLiteral("キャラクターを名前を付けて保存・読み込み、共有コードでやり取り"));
    builds->setFocusPolicy(Qt::TabFocus);
    builds->setEnabled(m_builds != nullptr);
    connect(builds, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { evtBuildsClick(); }); });

    setTabOrder(iptINF, iptJOB);
    setTabOrder(iptJOB, iptPOW);
    setTabOrder(iptPOW, iptVIT);
    setTabOrder(iptVIT, iptDEX);
    setTabOrder(iptDEX, iptINT);
    setTabOrder(iptINT, iptPHI);
    setTabOrder(iptPHI, iptLV);

    // A combo box's handler runs on the user's choice only (activated and textEdited are not
    // emitted when the program selects an entry); a spin box's on every change of its text, the
    // program's included, which the bonus and level rules rely on.
    const auto guardedCall = [this](void (TZEMForm03::*handler)()) {
        return [this, handler] {
            if (!m_selecting) {
                Messages::guarded([this, handler] { (this->*handler)(); });
            }
        };
    };
    connect(iptINF, &QComboBox::activated, this, guardedCall(&TZEMForm03::iptINFChange));
    connect(iptINF->lineEdit(), &QLineEdit::textEdited, this,
            guardedCall(&TZEMForm03::iptINFChange));
    connect(iptJOB, &QComboBox::activated, this, guardedCall(&TZEMForm03::iptJOBChange));
    connect(iptJOB->lineEdit(), &QLineEdit::textEdited, this,
            guardedCall(&TZEMForm03::iptJOBChange));
    connect(iptPOW, &TZEMSpinEdit::changed, this, guardedCall(&TZEMForm03::iptPOWChange));
    connect(iptVIT, &TZEMSpinEdit::changed, this, guardedCall(&TZEMForm03::iptVITChange));
    connect(iptDEX, &TZEMSpinEdit::changed, this, guardedCall(&TZEMForm03::iptDEXChange));
    connect(iptINT, &TZEMSpinEdit::changed, this, guardedCall(&TZEMForm03::iptINTChange));
    connect(iptPHI, &TZEMSpinEdit::changed, this, guardedCall(&TZEMForm03::iptPHIChange));
    connect(iptLV, &TZEMSpinEdit::changed, this, guardedCall(&TZEMForm03::iptLVChange));
    iptDEX->installEventFilter(this);
}

void TZEMForm03::FormCreate() {
    m_status.Assign(m_controllerStatus);
    Refresh();
    ShowInputs();
    // A level table left open from an earlier status window follows this one.
    if (TZEMForm031* levelTable = TZEMForm031::openWindow()) {
        followedBy(levelTable);
    }
}

void TZEMForm03::FormClose() {
    // The window is freed on close (ToolWindow), its character with it; the controller learns
    // of it through destroyed() and releases its button.
}

void TZEMForm03::closeEvent(QCloseEvent* event) {
    Messages::guarded([this] { FormClose(); });
    event->accept();
}

bool TZEMForm03::eventFilter(QObject* watched, QEvent* event) {
    if (watched == iptDEX && event->type() == QEvent::FocusOut) {
        // Leaving the box for another control, not the window losing activation.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            Messages::guarded([this] { iptSpinExit(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

int TZEMForm03::selectedPosition(const QComboBox* combo) {
    return combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void TZEMForm03::select(QComboBox* combo, int position) {
    m_selecting = true;
    combo->setCurrentIndex(position);
    // Also undoes typed text when the position was already current.
    combo->setEditText(position >= 0 ? combo->itemText(position) : QString());
    m_selecting = false;
}

void TZEMForm03::display(const char* name, qint64 value) {
    if (auto* label = findChild<QLabel*>(QString::fromLatin1(name))) {
        label->setText(QString::number(value));
    }
}

void TZEMForm03::Refresh() {
    select(iptINF, factionPosition(m_status.Src.INF));
    select(iptJOB, m_status.Src.JOB < TZEMStatusSrc::JobCount ? m_status.Src.JOB : -1);
    m_status.Src.Calc();

    const TZEMStatusSrc& src = m_status.Src;
    const TZEMStatusBon& bon = m_status.Bon;
    display("viwBPOW", qint64{src.POW} + bon.POW);
    display("viwBVIT", qint64{src.VIT} + bon.VIT);
    display("viwBDEX", qint64{src.DEX} + bon.DEX);
    display("viwBINT", qint64{src.INT} + bon.INT);
    display("viwBPHI", qint64{src.PHI} + bon.PHI);
    display("viwBSOL", src.SOL);
    display("viwBWTR", src.WTR);
    display("viwBFIR", src.FIR);
    display("viwBWND", src.WND);

    for (const StatusFigures::Figure& figure : StatusFigures::all()) {
        display(figure.view, figure.value(m_status));
    }

    m_controllerStatus.Assign(m_status);
    Q_EMIT statusChanged(m_status);
}

void TZEMForm03::followedBy(TZEMForm031* levelTable) {
    connect(this, &TZEMForm03::statusChanged, levelTable, &TZEMForm031::followStatus,
            Qt::UniqueConnection);
    levelTable->followStatus(m_status);
}

void TZEMForm03::evtLevelTableClick() {
    TZEMForm031* planner = TZEMForm031::openWindow();
    if (!planner) {
        planner = new TZEMForm031(m_status, m_builds);
        // Where it was left, else beside this window when there is room on its screen.
        WindowPlaces::placeBeside(planner, this);
    }
    followedBy(planner);
    planner->show();
    planner->raise();
    planner->activateWindow();
}

void TZEMForm03::evtBuildsClick() {
    if (!m_builds) {
        return;
    }
    if (!m_buildsWindow) {
        m_buildsWindow = new TZEMForm032(*m_builds, *this);
        WindowPlaces::placeBeside(m_buildsWindow, this);
    }
    m_buildsWindow->show();
    m_buildsWindow->raise();
    m_buildsWindow->activateWindow();
}

void TZEMForm03::loadCharacter(const TZEMStatusNow& character) {
    m_status.Assign(character);
    Refresh();
    ShowInputs();
    // The bonus boxes that kept their text ran no handler: the points left are shown here.
    showLastBonus();
}

void TZEMForm03::ShowInputs() {
    iptPOW->setValue(m_status.Bon.POW);
    iptVIT->setValue(m_status.Bon.VIT);
    iptDEX->setValue(m_status.Bon.DEX);
    iptINT->setValue(m_status.Bon.INT);
    iptPHI->setValue(m_status.Bon.PHI);
    iptLV->setValue(m_status.LV);
}

void TZEMForm03::iptINFChange() {
    const int position = selectedPosition(iptINF);
    if (position >= 0) {
        m_status.Src.SetINF(static_cast<std::uint8_t>(factionCodeAt(position)));
    }
    if (selectedPosition(iptJOB) < 0) {
        m_status.Src.SetJOB(0);
    }
    m_status.Bon.Clear();
    Refresh();
    ShowInputs();
}

void TZEMForm03::iptJOBChange() {
    const int position = selectedPosition(iptJOB);
    if (position >= 0) {
        m_status.Src.SetJOB(static_cast<std::uint8_t>(position));
    }
    if (selectedPosition(iptINF) < 0) {
        m_status.Src.SetINF(0);
    }
    m_status.Bon.Clear();
    Refresh();
    ShowInputs();
}

void TZEMForm03::bonusChange(TZEMSpinEdit* box, Field field, Setter setter) {
    if (box->text().isEmpty()) {
        return;
    }
    const std::int64_t n = box->value();
    const std::int32_t source = m_status.Src.*field;
    if (n + source > TZEMStatusBon::BonusPool) {
        (m_status.Bon.*setter)(TZEMStatusBon::BonusPool - source);
    } else {
        (m_status.Bon.*setter)(static_cast<std::int32_t>(n));
    }
    // When the box's own bound corrects this further, the handler runs again from here.
    box->setValue(m_status.Bon.*field);
    showLastBonus();
    Refresh();
}

void TZEMForm03::showLastBonus() {
    viwLastBonus->setText(QStringLiteral("残り ") +
                          QString::number(TZEMStatusBon::BonusPool - m_status.Bon.Total()));
}

void TZEMForm03::iptPOWChange() {
    bonusChange(iptPOW, &TZEMStatusBas::POW, &TZEMStatusBon::SetPOW);
}
void TZEMForm03::iptVITChange() {
    bonusChange(iptVIT, &TZEMStatusBas::VIT, &TZEMStatusBon::SetVIT);
}
void TZEMForm03::iptDEXChange() {
    bonusChange(iptDEX, &TZEMStatusBas::DEX, &TZEMStatusBon::SetDEX);
}
void TZEMForm03::iptINTChange() {
    bonusChange(iptINT, &TZEMStatusBas::INT, &TZEMStatusBon::SetINT);
}
void TZEMForm03::iptPHIChange() {
    bonusChange(iptPHI, &TZEMStatusBas::PHI, &TZEMStatusBon::SetPHI);
}

void TZEMForm03::iptLVChange() {
    if (iptLV->text().isEmpty()) {
        return;
    }
    const int level = iptLV->value();
    if (level < 1) {
        iptLV->setValue(1);
    } else if (level > TZEMStatusNow::MaxLevel) {
        iptLV->setValue(TZEMStatusNow::MaxLevel);
    }
    m_status.SetLV(iptLV->value());
    Refresh();
}

void TZEMForm03::iptSpinExit() {
    for (TZEMSpinEdit* box : {iptLV, iptPOW, iptVIT, iptDEX, iptINT, iptPHI}) {
        if (box->text().isEmpty()) {
            box->setValue(box->minValue());
        }
    }
}
