#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "common/Fonts.h"
#include "common/ScreenAreas.h"
#include "common/TZEMError.h"
#include "common/TZEMSpinEdit.h"
#include "recipes/FigureLabel.h"
#include "recipes/TZEMForm081.h"
#include "support/Child.h"
#include "support/Contrast.h"
#include "support/ItemDbFixture.h"
#include "support/MessageRecorder.h"

namespace {

QVariantList info(const char* name, QVariant yomi, int sell, int buy) {
    return {name, yomi, "壱の章", "知行品", sell, buy};
}

QVariantList creator(const char* name, const char* catalogue, int count) {
    return {name, "大工", catalogue, "CHIGYO", "知行一", "A", count, "壱の章"};
}

ItemDbFixture::Tables fiefTables() {
    ItemDbFixture::Tables t;
    t.kinds = {{"知行品", "その他"}};
    t.infos = {info("塩俵", "しおだわら", 10, 30),
               info("塩", "しお", 1, 15),
               info("麻布", "あさぬの", 6, 100),
               info("奈良墨", "ならずみ", 250, 999),
               info("墨", "すみ", 8, 16),
               info("膠", "にかわ", 5, 10),
               info("麝香", "じゃこう", 120, 240),
               info("薬種箱", "やくしゅばこ", 20, 50),
               info("西陣織の帯", "にしじんおりのおび", 500, 900),
               info("膏薬壺", QVariant(), 40, 80),
               info("金蒔絵", "きんまきえ", 1, 1),
               info("金塊", "きんかい", 1, 2000000000),
               info("銀塊", "ぎんかい", 1, 2000000000),
               info("大量品", "たいりょうひん", 1, 1),
               info("米俵", "こめだわら", 1, 100000),
               info("二重品", "にじゅうひん", 7, 11),
               info("巨大品", "きょだいひん", 1, 2147483647),
               info("高価材", "こうかざい", 1, 2147483647)};
    for (int k = 1; k <= 9; ++k) {
        const QString name = QStringLiteral("材料%1").arg(k);
        t.infos << QVariantList{name, "ざいりょう", "壱の章", "知行品", k, k <= 7 ? k : 10};
    }
    t.creators = {creator("塩俵", "知行産物", 20),   creator("奈良墨", "知行名物", 10),
                  creator("薬種箱", "知行産物", 5),  creator("西陣織の帯", "知行名物", 1),
                  creator("膏薬壺", "知行名物", 10), creator("金蒔絵", "知行名物", 1),
                  creator("大量品", "知行名物", 1),  creator("二重品", "知行名物", 3),
                  creator("二重品", "知行産物", 6),  creator("巨大品", "知行産物", 2147483647)};
    t.relations = {
        {"塩俵", "塩", 3},         {"塩俵", "麻布", 1},   {"奈良墨", "墨", 6},
        {"奈良墨", "膠", 2},       {"奈良墨", "麝香", 1}, {"膏薬壺", "膠", 4},
        {"金蒔絵", "金塊", 1},     {"金蒔絵", "麝香", 1}, {"金蒔絵", "銀塊", 1},
        {"大量品", "米俵", 50000}, {"二重品", "塩", 1},   {"巨大品", "高価材", 2147483647}};
    for (int k = 1; k <= 7; ++k) {
        t.relations << QVariantList{"薬種箱", QStringLiteral("材料%1").arg(k), k};
    }
    for (int k = 1; k <= 9; ++k) {
        t.relations << QVariantList{"西陣織の帯", QStringLiteral("材料%1").arg(k), 1};
    }
    return t;
}

QString text(QWidget* w, const QString& name) {
    return child<QLabel>(w, name)->text();
}

QString rowName(const char* stem, int k) {
    return QString::fromLatin1(stem) + QString::number(k);
}

}  // namespace

class TestForm081 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layout();
    void indexValue_data();
    void indexValue();
    void figures_data();
    void figures();
    void materialRows_data();
    void materialRows();
    void nullReadingShowsEmpty();
    void lastProductRowWins();
    void defaultCount();
    void emptiedSpinBoxKeepsEarlierFigures();
    void materialSumOutOfRange();
    void failedMaterialLoad_data();
    void failedMaterialLoad();
    void typedIndex();
    void largeFiguresShowWhole();
    void figureFace_data();
    void figureFace();
    void sourceBoxesReadLikeText();
    void openForMissingDatabase();
    void openForIndependentWindows();

private:
    std::unique_ptr<TZEMForm081> load(const QString& product, bool shown = false);

    ItemDbFixture m_fixture;
    QString m_path;
};

void TestForm081::initTestCase() {
    Fonts::registerSubstitutions();
    m_path = m_fixture.create(fiefTables());
}

std::unique_ptr<TZEMForm081> TestForm081::load(const QString& product, bool shown) {
    auto w = std::make_unique<TZEMForm081>();
    w->setVisible(shown);
    child<QLabel>(w.get(), "outUriName")->setText(product);
    w->DBPath = m_path;
    w->LoadProduct();
    return w;
}

void TestForm081::layout() {
    TZEMForm081 w;
    QCOMPARE(w.windowTitle(), QStringLiteral("産物商利益計算機"));
    QCOMPARE(w.size(), QSize(573, 425));
    QVERIFY(!w.testAttribute(Qt::WA_DeleteOnClose));
    const auto* frame = w.findChild<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(frame);
    QCOMPARE(frame->geometry(), QRect(0, 0, 573, 425));
    QCOMPARE(child<QLabel>(&w, "outUriName")->font().family(), Fonts::Mincho);
    QCOMPARE(child<QLabel>(&w, "outUriName")->font().pixelSize(), 16);
    QCOMPARE(child<QLabel>(&w, "outUriYomi")->font().family(), Fonts::PMincho);
    QCOMPARE(child<QLabel>(&w, "outUriYomi")->font().pixelSize(), 11);

    auto* time = child<TZEMSpinEdit>(&w, "iptUriTime");
    auto* count = child<TZEMSpinEdit>(&w, "iptUriSeisanSu");
    QCOMPARE(time->text(), QStringLiteral("1"));
    QCOMPARE(std::pair(time->minValue(), time->maxValue()), std::pair(1, 1000));
    QCOMPARE(std::pair(count->minValue(), count->maxValue()), std::pair(1, 999));
    auto* standard = child<QLabel>(&w, "outUriSeisanSu");
    QVERIFY(standard->isHidden());
    QCOMPARE(standard->geometry(), count->geometry());
    QVERIFY(child<QPushButton>(&w, "evtDefaultSu")->isHidden());
    QCOMPARE(child<QPushButton>(&w, "evtDefaultSu")->text(), QStringLiteral("標準に戻す"));
    QVERIFY(child<QLineEdit>(&w, "iptUriSisu")->isHidden());
    QVERIFY(child<QLabel>(&w, "outUriSisu")->isHidden());

    for (int k = 0; k < 7; ++k) {
        auto* name = child<QLabel>(&w, rowName("outZaiName", k));
        QCOMPARE(name->text(), QStringLiteral("　　　　　　　　"));
        QVERIFY(name->isHidden());
        if (k > 0) {
            QCOMPARE(name->y() - child<QLabel>(&w, rowName("outZaiName", k - 1))->y(), 20);
        }
        auto* source = child<QComboBox>(&w, rowName("iptGetTarget", k));
        QVERIFY(!source->isEnabled());
        QCOMPARE(source->currentText(), QStringLiteral("産物商"));
        QCOMPARE(source->count(), 4);
        QCOMPARE(source->itemText(3), QStringLiteral("自作"));
        auto* index = child<QLineEdit>(&w, rowName("iptZaiSisu", k));
        QCOMPARE(index->displayText(), QStringLiteral("01.00"));
        QCOMPARE(index->maxLength(), 5);
        QVERIFY(!index->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(child<QLineEdit>(&w, rowName("iptZaiSisu", k))->y(), name->y());
    }
    QVERIFY(!w.findChild<QLabel*>(rowName("outZaiName", 7)));
}

void TestForm081::indexValue_data() {
    QTest::addColumn<QString>("displayed");
    QTest::addColumn<int>("price");
    QTest::addColumn<qint64>("truncated");
    QTest::newRow("01.05 x 100 is below 105") << "01.05" << 100 << qint64(104);
    QTest::newRow("00.53 x 100 is below 53") << "00.53" << 100 << qint64(52);
    QTest::newRow("01.10 x 15") << "01.10" << 15 << qint64(16);
    QTest::newRow("01.10 x 45") << "01.10" << 45 << qint64(49);
    QTest::newRow("01.50 x 600") << "01.50" << 600 << qint64(900);
    QTest::newRow("99.99 x 100") << "99.99" << 100 << qint64(9999);
    QTest::newRow("00.00") << "00.00" << 12345 << qint64(0);
    QTest::newRow("negative price") << "01.05" << -100 << qint64(-104);
}

void TestForm081::indexValue() {
    QFETCH(QString, displayed);
    QFETCH(int, price);
    QFETCH(qint64, truncated);
    QCOMPARE(qint64(ExtendedMath::truncToInt64(TZEMForm081::indexValue(displayed) * price)),
             truncated);
}

void TestForm081::figures_data() {
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("runs");
    QTest::addColumn<QString>("productIndex");
    QTest::addColumn<QStringList>("indices");
    // row k: "cost/count/total"; then the summary figures
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("summary");  // count, material cost, buy cost, sale, gain

    QTest::newRow("fief produce, every index 1")
        << "塩俵"
        << "1"
        << "01.00" << QStringList{"01.00", "01.00"} << QStringList{"15/3/45", "100/1/100"}
        << QStringList{"20", "145", "145", "600", "455"};
    QTest::newRow("fief produce, indices")
        << "塩俵"
        << "1"
        << "01.50" << QStringList{"01.10", "01.05"} << QStringList{"16/3/48", "104/1/104"}
        << QStringList{"20", "153", "153", "900", "747"};
    QTest::newRow("index below one")
        << "塩俵"
        << "1"
        << "01.00" << QStringList{"01.00", "00.53"} << QStringList{"15/3/45", "52/1/52"}
        << QStringList{"20", "97", "97", "600", "503"};
    QTest::newRow("two runs") << "塩俵"
                              << "2"
                              << "01.50" << QStringList{"01.10", "01.05"}
                              << QStringList{"16/3/48", "104/1/104"}
                              << QStringList{"40", "153", "306", "1800", "1494"};
    QTest::newRow("speciality uses the shop sell price, no product index")
        << "奈良墨"
        << "1"
        << "" << QStringList{"01.00", "01.00", "01.00"}
        << QStringList{"16/6/96", "10/2/20", "240/1/240"}
        << QStringList{"10", "356", "356", "2500", "2144"};
    QTest::newRow("speciality, two runs") << "奈良墨"
                                          << "2"
                                          << "" << QStringList{"02.00", "01.00", "00.50"}
                                          << QStringList{"32/6/192", "10/2/20", "120/1/120"}
                                          << QStringList{"20", "332", "664", "5000", "4336"};
    QTest::newRow("exactly seven materials")
        << "薬種箱"
        << "1"
        << "01.00" << QStringList{"01.00", "01.00", "01.00", "01.00", "01.00", "01.00", "01.00"}
        << QStringList{"1/1/1", "2/2/4", "3/3/9", "4/4/16", "5/5/25", "6/6/36", "7/7/49"}
        << QStringList{"5", "140", "140", "250", "110"};
    QTest::newRow("nine materials, none left out")
        << "西陣織の帯"
        << "3"
        << "" << QStringList{"01.00", "01.00", "01.00", "01.00", "01.00",
                             "01.00", "01.00", "01.00", "02.00"}
        << QStringList{"1/1/1", "2/1/2", "3/1/3",   "4/1/4",  "5/1/5",
                       "6/1/6", "7/1/7", "10/1/10", "20/1/20"}
        << QStringList{"3", "58", "174", "1500", "1326"};
    QTest::newRow("32-bit row products wrap")
        << "大量品"
        << "1"
        << "" << QStringList{"01.00"} << QStringList{"100000/50000/705032704"}
        << QStringList{"1", "705032704", "705032704", "1", "-705032703"};
}

void TestForm081::figures() {
    QFETCH(QString, product);
    QFETCH(QString, runs);
    QFETCH(QString, productIndex);
    QFETCH(QStringList, indices);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, summary);

    MessageRecorder messages;
    auto w = load(product);
    child<TZEMSpinEdit>(w.get(), "iptUriTime")->setText(runs);
    auto* sisu = child<QLineEdit>(w.get(), "iptUriSisu");
    QCOMPARE(sisu->isHidden(), productIndex.isEmpty());
    QCOMPARE(child<QLabel>(w.get(), "outUriSisu")->isHidden(), productIndex.isEmpty());
    if (!productIndex.isEmpty()) {
        sisu->setText(productIndex);
    }
    for (int k = 0; k < indices.size(); ++k) {
        child<QLineEdit>(w.get(), rowName("iptZaiSisu", k))->setText(indices[k]);
    }
    QCOMPARE(messages.errors, QStringList{});
    for (int k = 0; k < rows.size(); ++k) {
        QVERIFY(!child<QLabel>(w.get(), rowName("outZaiName", k))->isHidden());
        const QString got = text(w.get(), rowName("outZaiCost", k)) + u'/' +
                            text(w.get(), rowName("outZaiCount", k)) + u'/' +
                            text(w.get(), rowName("outZaiTotalCost", k));
        QCOMPARE(got, rows[k]);
    }
    const QStringList got{text(w.get(), "outUriCount"), text(w.get(), "outZaiTotalCost"),
                          text(w.get(), "outBuyCost"), text(w.get(), "outUriCost"),
                          text(w.get(), "outUriGain")};
    QCOMPARE(got, summary);
    QCOMPARE(text(w.get(), "outUriSu"), child<TZEMSpinEdit>(w.get(), "iptUriSeisanSu")->text());
}

void TestForm081::materialRows_data() {
    QTest::addColumn<QString>("product");
    QTest::addColumn<int>("used");
    QTest::addColumn<int>("height");
    QTest::newRow("three materials") << "奈良墨" << 3 << 425;
    QTest::newRow("one material") << "膏薬壺" << 1 << 425;
    QTest::newRow("seven materials") << "薬種箱" << 7 << 425;
    QTest::newRow("nine materials grow the window") << "西陣織の帯" << 9 << 465;
    QTest::newRow("unknown product") << "無い品" << 0 << 425;
}

void TestForm081::materialRows() {
    QFETCH(QString, product);
    QFETCH(int, used);
    QFETCH(int, height);
    // Loaded while on screen, as the search window opens it.
    auto w = load(product, true);
    QCOMPARE(w->height(), height);
    const int rows = std::max(7, used);
    for (int k = 0; k < rows; ++k) {
        const bool inUse = k < used;
        QCOMPARE(child<QLabel>(w.get(), rowName("outZaiName", k))->isVisible(), inUse);
        QCOMPARE(child<QLineEdit>(w.get(), rowName("iptZaiSisu", k))->isVisible(), inUse);
        QCOMPARE(child<QComboBox>(w.get(), rowName("iptGetTarget", k))->isVisible(), inUse);
        QVERIFY(child<QLabel>(w.get(), rowName("outZaiTotalCost", k))->isVisible());
        // Rows not in use take no part: their figures stay empty.
        QCOMPARE(text(w.get(), rowName("outZaiTotalCost", k)).isEmpty(), !inUse);
        if (k > 0) {
            QCOMPARE(child<QLabel>(w.get(), rowName("outZaiName", k))->y() -
                         child<QLabel>(w.get(), rowName("outZaiName", k - 1))->y(),
                     20);
        }
    }
    QVERIFY(!w->findChild<QLabel*>(rowName("outZaiName", rows)));
}

void TestForm081::nullReadingShowsEmpty() {
    MessageRecorder messages;
    auto w = load("膏薬壺");
    QCOMPARE(text(w.get(), "outUriYomi"), QString());
    QCOMPARE(text(w.get(), "outUriLV"), QStringLiteral("知行一"));
    QCOMPARE(text(w.get(), "outUriGain"), QStringLiteral("360"));  // 10 x 40 - 4 x 10
    auto other = load("塩俵");
    QCOMPARE(text(other.get(), "outUriYomi"), QStringLiteral("しおだわら"));
}

void TestForm081::lastProductRowWins() {
    auto w = load("二重品");
    QCOMPARE(w->ProductMokRock, QStringLiteral("知行産物"));
    QCOMPARE(text(w.get(), "outUriSeisanSu"), QStringLiteral("6"));
    QCOMPARE(child<TZEMSpinEdit>(w.get(), "iptUriSeisanSu")->text(), QStringLiteral("6"));
    QCOMPARE(text(w.get(), "outUriTanka"), QStringLiteral("11"));  // 店買い for 知行産物
    QVERIFY(!child<QLineEdit>(w.get(), "iptUriSisu")->isHidden());
    QCOMPARE(text(w.get(), "outUriCost"), QStringLiteral("66"));
}

void TestForm081::defaultCount() {
    MessageRecorder messages;
    auto w = load("奈良墨");
    w->show();
    auto* count = child<TZEMSpinEdit>(w.get(), "iptUriSeisanSu");
    auto* button = child<QPushButton>(w.get(), "evtDefaultSu");
    QCOMPARE(count->text(), QStringLiteral("10"));
    QVERIFY(!button->isVisible());
    count->setText(QStringLiteral("12"));
    QVERIFY(button->isVisible());
    QCOMPARE(text(w.get(), "outUriCount"), QStringLiteral("10"));  // the standard count
    QCOMPARE(text(w.get(), "outUriSu"), QStringLiteral("12"));
    QCOMPARE(text(w.get(), "outUriCost"), QStringLiteral("3000"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(count->text(), QStringLiteral("10"));
    QVERIFY(!button->isVisible());
    QCOMPARE(text(w.get(), "outUriCost"), QStringLiteral("2500"));
    QCOMPARE(messages.errors, QStringList{});
}

void TestForm081::emptiedSpinBoxKeepsEarlierFigures() {
    MessageRecorder messages;
    auto w = load("奈良墨");
    auto* runs = child<TZEMSpinEdit>(w.get(), "iptUriTime");
    auto* count = child<TZEMSpinEdit>(w.get(), "iptUriSeisanSu");
    runs->setText(QStringLiteral("3"));
    child<QLineEdit>(w.get(), rowName("iptZaiSisu", 0))->setText("02.00");
    QCOMPARE(text(w.get(), "outUriCost"), QStringLiteral("7500"));
    count->setText(QString());
    QCOMPARE(messages.errors, QStringList{QStringLiteral("'' は整数ではありません")});
    // Figures before the failing step were recomputed, the sale price kept its old value.
    QCOMPARE(text(w.get(), "outBuyCost"), QStringLiteral("1356"));  // 3 x (192 + 20 + 240)
    QCOMPARE(text(w.get(), "outUriSu"), QString());
    QCOMPARE(text(w.get(), "outUriCost"), QStringLiteral("7500"));
    runs->setText(QString());
    QCOMPARE(messages.errors.size(), 2);
    QCOMPARE(text(w.get(), "outUriCount"), QStringLiteral("30"));
    runs->setText(QStringLiteral("1"));
    QCOMPARE(messages.errors.size(), 3);
    count->setText(QStringLiteral("10"));
    QCOMPARE(messages.errors.size(), 3);
    QCOMPARE(text(w.get(), "outUriGain"), QStringLiteral("2048"));  // 2500 - 452
}

void TestForm081::materialSumOutOfRange() {
    MessageRecorder messages;
    TZEMForm081 w;
    child<QLabel>(&w, "outUriName")->setText("金蒔絵");
    w.DBPath = m_path;
    try {
        w.LoadProduct();
        QFAIL("no range-check error");
    } catch (const TZEMError& e) {
        QCOMPARE(e.message(), QStringLiteral("範囲チェックエラー"));
    }
    // The row figures were computed before the sum failed; the sum kept its old value.
    QCOMPARE(text(&w, "outZaiCost0"), QStringLiteral("2000000000"));
    QCOMPARE(text(&w, "outZaiTotalCost2"), QStringLiteral("2000000000"));
    QCOMPARE(text(&w, "outZaiTotalCost"), QStringLiteral("0"));
    // Lowering the index brings the sum back into range.
    child<QLineEdit>(&w, "iptZaiSisu0")->setText("00.01");
    child<QLineEdit>(&w, "iptZaiSisu2")->setText("00.01");
    QCOMPARE(messages.errors, QStringList{});
    QCOMPARE(text(&w, "outZaiTotalCost"), QStringLiteral("40000240"));
}

// Figures of ten digits and a sign, as 32-bit counts and prices reach, show every digit.
void TestForm081::largeFiguresShowWhole() {
    MessageRecorder messages;
    auto w = load("巨大品", true);
    child<TZEMSpinEdit>(w.get(), "iptUriTime")->setText("3");
    QCOMPARE(messages.errors, QStringList{});
    QCOMPARE(text(w.get(), "outUriCount"), QStringLiteral("2147483645"));
    QCOMPARE(text(w.get(), "outUriTanka"), QStringLiteral("2147483647"));
    QCOMPARE(text(w.get(), "outZaiCount0"), QStringLiteral("2147483647"));
    int checked = 0;
    for (const FigureLabel* figure : w->findChildren<FigureLabel*>()) {
        if (figure->isVisibleTo(w.get()) && !figure->text().isEmpty()) {
            ++checked;
            QVERIFY2(QFontMetrics(figure->shownFont()).horizontalAdvance(figure->text()) <=
                         figure->contentsRect().width(),
                     qPrintable(figure->objectName() + u' ' + figure->text()));
        }
    }
    QVERIFY(checked >= 10);
}

void TestForm081::figureFace_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    for (const char* upper : {"outUriCount", "outBuyCost", "outUriCost", "outUriSu", "outUriTanka",
                              "outUriGain", "outZaiTotalCost", "iptUriSisu", "outUriSeisanSu"}) {
        QTest::newRow(upper) << QString::fromLatin1(upper) << 16;
    }
    for (const char* row : {"outZaiCost0", "outZaiCount0", "outZaiTotalCost0", "iptZaiSisu0",
                            "outZaiCost6", "outZaiCount8", "outZaiTotalCost8", "iptZaiSisu8"}) {
        QTest::newRow(row) << QString::fromLatin1(row) << 12;
    }
    QTest::newRow("iptUriTime") << QStringLiteral("iptUriTime") << 12;
    QTest::newRow("iptUriSeisanSu") << QStringLiteral("iptUriSeisanSu") << 12;
}

// Every figure, count and index is drawn in the figure face, not in the Mincho substitute whose
// one reads as a lower-case L, at the pixel size of the window's layout; rows added for materials
// beyond seven too. The captions stay Mincho.
void TestForm081::figureFace() {
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    MessageRecorder messages;
    auto w = load("西陣織の帯", true);  // nine materials
    QCOMPARE(messages.errors, QStringList{});
    auto* control = child<QWidget>(w.get(), name);
    QCOMPARE(control->font().pixelSize(), pixelSize);
    const QString face = QFontInfo(control->font()).family();
    QVERIFY2(Fonts::FigureFaces.contains(face), qPrintable(face));
    QVERIFY(face != QFontInfo(Fonts::font(Fonts::Mincho, pixelSize)).family());
    if (auto* figure = qobject_cast<FigureLabel*>(control)) {
        figure->setText(QStringLiteral("-2147483648"));  // narrowed to fit, in the same face
        QCOMPARE(QFontInfo(figure->shownFont()).family(), face);
    }
    QCOMPARE(QFontInfo(child<QLabel>(w.get(), "outUriName")->font()).family(),
             QFontInfo(Fonts::font(Fonts::Mincho, 16)).family());
}

// The source boxes take no input, yet read in the normal text colour; neither the mouse nor the
// keyboard nor the wheel changes them.
void TestForm081::sourceBoxesReadLikeText() {
    MessageRecorder messages;
    auto w = load("塩俵", true);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    for (int k = 0; k < 2; ++k) {
        auto* source = child<QComboBox>(w.get(), rowName("iptGetTarget", k));
        QVERIFY(source->isVisible());
        QVERIFY(!source->isEnabled());
        const QPalette& palette = source->palette();
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::ButtonText),
                 palette.color(QPalette::Active, QPalette::ButtonText));
        const QImage picture = source->grab().toImage();
        const double contrast = Contrast::ofText(picture, picture.rect().adjusted(3, 3, -24, -3));
        QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast, 'f', 2)));

        QTest::mouseClick(source, Qt::LeftButton);
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_Space}) {
            QTest::keyClick(source, key);
        }
        QWheelEvent wheel(QPointF(10, 8), source->mapToGlobal(QPointF(10, 8)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(source, &wheel);
        QCOMPARE(source->currentText(), QStringLiteral("産物商"));
        QCOMPARE(source->currentIndex(), 0);
    }
    QCOMPARE(messages.errors, QStringList{});
}

void TestForm081::typedIndex() {
    MessageRecorder messages;
    auto w = load("塩俵");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* index = child<QLineEdit>(w.get(), "iptZaiSisu1");
    index->setFocus();
    index->selectAll();
    QTest::keyClicks(index, "0105");
    QCOMPARE(index->displayText(), QStringLiteral("01.05"));
    QCOMPARE(text(w.get(), "outZaiCost1"), QStringLiteral("104"));
    index->selectAll();
    QTest::keyClick(index, Qt::Key_Delete);
    QCOMPARE(index->displayText(), QStringLiteral("00.00"));
    QCOMPARE(text(w.get(), "outZaiCost1"), QStringLiteral("0"));
    QCOMPARE(messages.errors, QStringList{});
}

void TestForm081::failedMaterialLoad_data() {
    QTest::addColumn<QString>("product");
    // 総生産数, 生産数, 売却価格, 利益 as left by the loading that failed at the materials
    QTest::addColumn<QStringList>("figures");
    // Setting the count from the product row recalculates at once; the sale price of the row is
    // set after that, so the profit is that of the recalculation, on the earlier unit price.
    QTest::newRow("one product row") << "塩俵" << QStringList{"20", "20", "600", "0"};
    QTest::newRow("two product rows, the second recalculates on the first's price")
        << "二重品" << QStringList{"6", "6", "66", "42"};
}

void TestForm081::failedMaterialLoad() {
    QFETCH(QString, product);
    QFETCH(QStringList, figures);
    ItemDbFixture::Tables tables = fiefTables();
    tables.omit << QStringLiteral("ItemCreateRelation");
    ItemDbFixture fixture;
    MessageRecorder messages;
    TZEMForm081 w;
    child<QLabel>(&w, "outUriName")->setText(product);
    w.DBPath = fixture.create(tables);
    QVERIFY_THROWS_EXCEPTION(TZEMError, w.LoadProduct());
    QCOMPARE(messages.errors, QStringList{});
    const QStringList got{text(&w, "outUriCount"), text(&w, "outUriSu"), text(&w, "outUriCost"),
                          text(&w, "outUriGain")};
    QCOMPARE(got, figures);
    QVERIFY(child<QPushButton>(&w, "evtDefaultSu")->isHidden());
    QVERIFY(child<QLabel>(&w, "outZaiName0")->isHidden());
}

void TestForm081::openForMissingDatabase() {
    MessageRecorder messages;
    ScreenAreas::inject(QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 984));
    const QString path = QStringLiteral("/no/such/DAT/TAMU_Item.db");
    std::unique_ptr<TZEMForm081> w(TZEMForm081::openFor("塩俵", path));
    ScreenAreas::reset();
    QCOMPARE(messages.errors,
             QStringList{QStringLiteral("Access DB：/no/such/DAT/TAMU_Item.db が存在しません")});
    QVERIFY(w->isVisible());
    QVERIFY(!w->parent());
    QCOMPARE(w->pos(), QPoint(0, 0));
    QCOMPARE(text(w.get(), "outUriName"), QStringLiteral("塩俵"));
    QCOMPARE(w->DBPath, path);
    QVERIFY(child<QLabel>(w.get(), "outZaiName0")->isHidden());
}

void TestForm081::openForIndependentWindows() {
    MessageRecorder messages;
    std::unique_ptr<TZEMForm081> a(TZEMForm081::openFor("塩俵", m_path));
    std::unique_ptr<TZEMForm081> b(TZEMForm081::openFor("塩俵", m_path));
    QCOMPARE(messages.errors, QStringList{});
    QVERIFY(a != b);
    child<TZEMSpinEdit>(a.get(), "iptUriTime")->setText("5");
    QCOMPARE(text(a.get(), "outUriCount"), QStringLiteral("100"));
    QCOMPARE(text(b.get(), "outUriCount"), QStringLiteral("20"));
    // Closing hides the window and keeps it with its inputs.
    QPointer<TZEMForm081> guard(a.get());
    QVERIFY(a->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard);
    QVERIFY(a->isHidden());
    QCOMPARE(child<TZEMSpinEdit>(a.get(), "iptUriTime")->text(), QStringLiteral("5"));
}

QTEST_MAIN(TestForm081)
#include "tst_form081.moc"
