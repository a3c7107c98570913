#include "status/TZEMForm04.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <array>

#include "common/Controls.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/TZEMSpinEdit.h"
#include "common/ToolWindow.h"
#include "status/PotentialBarWidget.h"

namespace {

struct Ability {
    const char* label;
    const char* bar;
};

using Tab = std::array<Ability, 21>;  // nine in the left column, twelve in the right

constexpr Tab basicTab{{
    {"脚力", "DrawGrid8"},    {"動体視力", "DrawGrid5"},   {"反射神経", "DrawGrid6"},
    {"健康", "DrawGrid7"},    {"精神", "DrawGrid9"},       {"回復力", "DrawGrid10"},
    {"根性", "DrawGrid11"},   {"力瘤", "DrawGrid12"},      {"応用力", "DrawGrid13"},
    {"握力", "DrawGrid14"},   {"頑丈", "DrawGrid15"},      {"機敏", "DrawGrid16"},
    {"冷静", "DrawGrid17"},   {"人徳", "DrawGrid18"},      {"土耐性", "DrawGrid19"},
    {"水耐性", "DrawGrid20"}, {"火耐性", "DrawGrid21"},    {"風耐性", "DrawGrid22"},
    {"商談", "DrawGrid23"},   {"腹持ち素養", "DrawGrid4"}, {"山登り素養", "DrawGrid3"},
}};

constexpr Tab combatTab{{
    {"狩人の眼力", "drw01Foot"}, {"狩人の読み", "drw02Eye"},   {"投擲素養", "drw03Response"},
    {"合戦元気", "drw04Health"}, {"戦声", "drw05Split"},       {"手負看護", "drw06Recover"},
    {"探検元気", "drw07Split"},  {"懐剣術素養", "drw08Power"}, {"剣術素養", "drw09Technic"},
    {"弓術素養", "drw10Pow"},    {"錫杖術素養", "drw11VIT"},   {"妖怪見定め", "drw12Dex"},
    {"妖怪見極め", "drw13INT"},  {"妖怪退治", "drw14PHI"},     {"武具耐久", "drw15Soil"},
    {"防具耐久", "drw16Water"},  {"火耐性", "drw17Fire"},      {"風耐性", "drw18Wind"},
    {"商談", "drw19Buss"},       {"腹持ち素養", "DrawGrid1"},  {"山登り素養", "DrawGrid2"},
}};

constexpr Tab productionTab{{
    {"力自慢", "DrawGrid29"},       {"名工の道", "DrawGrid26"},     {"名工の聞こえ", "DrawGrid27"},
    {"採集者の教え", "DrawGrid28"}, {"きこりの力", "DrawGrid30"},   {"きこりの心", "DrawGrid31"},
    {"弓の匠", "DrawGrid32"},       {"弓師目方上手", "DrawGrid33"}, {"弓師堅固素養", "DrawGrid34"},
    {"宝飾職人の心", "DrawGrid35"}, {"宝飾目方上手", "DrawGrid36"}, {"宝飾堅固素養", "DrawGrid37"},
    {"冷静", "DrawGrid38"},         {"人徳", "DrawGrid39"},         {"土耐性", "DrawGrid40"},
    {"水耐性", "DrawGrid41"},       {"火耐性", "DrawGrid42"},       {"風耐性", "DrawGrid43"},
    {"商談", "DrawGrid44"},         {"腹持ち素養", "DrawGrid25"},   {"山登り素養", "DrawGrid24"},
}};

constexpr int LeftRows = 9;

QLabel* value(QWidget* parent, const char* shown, int right, int top) {
    auto* label = new QLabel(QString::fromLatin1(shown), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int width = label->sizeHint().width();
    label->setGeometry(right - width, top, width, 12);
    return label;
}

// A label whose right edge stands `gap` pixels left of x.
void labelLeftOf(QWidget* parent, const QString& caption, int x, int top) {
    QLabel* label = Controls::label(parent, caption, QPoint());
    label->move(x - 4 - label->width(), top);
}

void addBars(QWidget* page, const Tab& tab, int leftX, int rightX, bool enabled) {
    for (int i = 0; i < static_cast<int>(tab.size()); ++i) {
        const Ability& a = tab[static_cast<std::size_t>(i)];
        const bool left = i < LeftRows;
        const int x = left ? leftX : rightX;
        const int top = left ? 8 + 20 * i : 196 + 20 * (i - LeftRows);
        auto* bar = new PotentialBarWidget(page);
        bar->setObjectName(QString::fromLatin1(a.bar));
        bar->move(x, top);
        bar->setEnabled(enabled);
        labelLeftOf(page, QString::fromUtf8(a.label), x, left ? top + 3 : top + 4);
    }
}

void addInformation(QWidget* page, const QString& caption, const char* spinName,
                    const char* checkName) {
    auto* group = new QGroupBox(caption, page);
    group->setGeometry(268, 4, 149, 185);
    Controls::label(group, QStringLiteral("潜在能力Lv"), QPoint(8, 24));
    auto* level = new TZEMSpinEdit(group);
    level->setObjectName(QString::fromLatin1(spinName));
    level->setBounds(0, 0);  // no bound
    level->setValue(0);
    level->setGeometry(84, 20, 57, 21);
    Controls::label(group, QStringLiteral("熟練度"), QPoint(8, 52));
    value(group, "9999999", 141, 52);
    Controls::label(group, QStringLiteral("潜在能力値"), QPoint(8, 76));
    value(group, "999", 141, 76);
    Controls::label(group, QStringLiteral("潜在能力値 使用"), QPoint(8, 96));
    value(group, "999", 141, 96);
    Controls::label(group, QStringLiteral("潜在能力値 残り"), QPoint(8, 116));
    value(group, "999", 141, 116);
    auto* limit = new QCheckBox(QStringLiteral("潜在能力 使用制限"), group);
    limit->setObjectName(QString::fromLatin1(checkName));
    limit->setGeometry(8, 148, 133, 17);
}

void addResults(QWidget* page, bool full) {
    auto* group = new QGroupBox(QStringLiteral("ステータス 反映結果"), page);
    group->setGeometry(8, 196, full ? 165 : 121, full ? 197 : 149);
    const QStringList left =
        full ? QStringList{"生命", "気合", "腕力",   "耐久", "器用さ",
                           "知力", "魅力", "技能枠", "回避", "命中"}
             : QStringList{"生命", "気合", "腕力", "耐久", "器用さ", "知力", "魅力"};
    int top = 20;
    for (const QString& name : left) {
        Controls::label(group, name, QPoint(8, top));
        value(group, "999", 78, top);
        top += 16;
    }
    if (full) {
        const QStringList elements{"土属性", "水属性", "火属性", "風属性"};
        for (int i = 0; i < elements.size(); ++i) {
            Controls::label(group, elements[i], QPoint(88, 20 + 16 * i));
            value(group, "999", 150, 20 + 16 * i);
        }
    }
    Controls::label(group, QStringLiteral("限界最大重量"), QPoint(8, top));
    value(group, "999", 110, top);
}

}  // namespace

TZEMForm04::TZEMForm04(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TZEMForm04"));
    ToolWindow::setup(this, QStringLiteral("潜在能力計算機"), QSize(428, 469));
    buildControls();
}

void TZEMForm04::buildControls() {
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setFont(Fonts::font(Fonts::PMincho, 15));
    pages->setGeometry(0, 0, 428, 469);

    struct Page {
        const char* name;
        const char* title;
        const Tab& tab;
        int leftX;
        int rightX;
        bool enabled;
        const char* group;
        const char* spin;
        const char* check;
    };
    const Page order[] = {
        {"TabSheet2", "基本", basicTab, 96, 252, true, "基本潜在能力 情報", "SpinEdit2",
         "CheckBox2"},
        {"TabSheet1", "戦闘", combatTab, 100, 256, true, "戦闘潜在能力 情報", "SpinEdit1",
         "CheckBox1"},
        {"TabSheet3", "生産", productionTab, 100, 256, false, "生産潜在能力 情報", "SpinEdit3",
         "CheckBox3"},
    };
    for (const Page& p : order) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(p.name));
        // The tabs carry the page control's font; what stands on a page uses the window's.
        page->setFont(Fonts::font(Fonts::PGothic, 12));
        addBars(page, p.tab, p.leftX, p.rightX, p.enabled);
        addInformation(page, QString::fromUtf8(p.group), p.spin, p.check);
        addResults(page, p.enabled);
        pages->addTab(page, QString::fromUtf8(p.title));
    }
    pages->setCurrentIndex(0);

    DrawGrid8 = pages->findChild<PotentialBarWidget*>(QStringLiteral("DrawGrid8"));
    connect(DrawGrid8, &PotentialBarWidget::clicked, this,
            [this] { Messages::guarded([this] { DrawGrid8Click(); }); });
}

void TZEMForm04::DrawGrid8Click() {
    DrawGrid8->fillTo(DrawGrid8->currentColumn());
}

void TZEMForm04::closeEvent(QCloseEvent* event) {
    // FormClose: the window is freed on close (ToolWindow); nothing else.
    event->accept();
}
