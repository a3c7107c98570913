#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <random>

#include "common/TZEMError.h"
#include "recipes/Holdings.h"
#include "recipes/MarketIndices.h"
#include "recipes/PriceBook.h"
#include "recipes/ProfitRanking.h"
#include "support/FileFaults.h"
#include "support/ImmutableFolder.h"
#include "support/MessageRecorder.h"
#include "support/SampleRanking.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The items of an import as "name=buy/sell" ("-" for none), then the problems.
QString summary(const PriceCsv::Import& import) {
    QStringList s;
    const auto price = [](const std::optional<std::int32_t>& p) {
        return p ? QString::number(*p) : QStringLiteral("-");
    };
    for (const auto& [name, p] : import.items) {
        s << name + u'=' + price(p.buy) + u'/' + price(p.sell);
    }
    return s.join(u' ') + u'|' + import.problems.join(u';');
}

}  // namespace

// The own prices and pieces on hand without a window: their effect on the ranking, their files
// and the price book's CSV.
class TestOwnPrices : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rankingUsesOwnPrices_data();
    void rankingUsesOwnPrices();
    void filesKeepTheirOtherLines_data();
    void filesKeepTheirOtherLines();
    void csvImport_data();
    void csvImport();
    void csvRoundTrip();
    void faults_data();
    void faults();
};

void TestOwnPrices::rankingUsesOwnPrices_data() {
    QTest::addColumn<QString>(
        "set");  // which own prices are set: b(uy), s(ell) of p(roducts), m(aterials)
    QTest::newRow("none") << "";
    QTest::newRow("materials' 店買い") << "mb";
    QTest::newRow("a 知行産物 sells at its own 店買い, a 知行名物 at its 店売り") << "pb ps";
    QTest::newRow("materials' 店売り count for nothing") << "ms";
    QTest::newRow("everything") << "pb ps mb ms";
}

// Every figure of the ranking with own prices is what the calculator's arithmetic gives with
// those prices in place of the database's, and the order follows.
void TestOwnPrices::rankingUsesOwnPrices() {
    QFETCH(QString, set);
    QTemporaryDir folder;
    const QString dat = folder.path() + u'/';
    MarketIndices indices(dat);
    PriceBook book(dat);
    ProfitRanking ranking(indices, &book);
    QVERIFY(ranking.load(sampleDatabase()));
    randomIndices(indices, ranking, 11);
    std::mt19937 random(5);
    QHash<QString, PriceBook::Prices> own;
    const auto price = [&] { return std::optional<std::int32_t>(std::int32_t(random() % 400)); };
    QList<PriceBook::Item> items;
    for (int r = 0; r < ranking.count(); ++r) {
        PriceBook::Prices& p = own[ranking.at(r).product.name];
        p.buy = set.contains("pb") && random() % 2 ? price() : std::nullopt;
        p.sell = set.contains("ps") && random() % 2 ? price() : std::nullopt;
    }
    for (const auto& m : ranking.materials()) {
        PriceBook::Prices& p = own[m.name];  // a product that is a material keeps both
        p.buy = set.contains("mb") && random() % 2 ? price() : p.buy;
        p.sell = set.contains("ms") ? price() : p.sell;
    }
    for (auto it = own.cbegin(); it != own.cend(); ++it) {
        items << PriceBook::Item{it.key(), it.value()};
    }
    book.set(items);
    ranking.recompute();

    std::optional<std::int32_t> previous;
    int changed = 0;
    for (int r = 0; r < ranking.count(); ++r) {
        const ProfitRanking::Entry& e = ranking.at(r);
        ProfitProduct p = e.product;  // the database's prices
        const PriceBook::Prices mine = own.value(p.name);
        const auto unit = p.catalogue == QStringLiteral("知行産物") ? mine.buy : mine.sell;
        p.unitPrice = unit.value_or(p.unitPrice);
        std::vector<Extended> mats;
        for (ProfitProduct::Material& m : p.materials) {
            m.price = own.value(m.name).buy.value_or(m.price);
            mats.push_back(ProfitCalc::indexValue(indices.material(m.name)));
        }
        changed += p.unitPrice != e.product.unitPrice || book.affects(e.product);
        const Extended productIndex = ProfitCalc::indexValue(indices.product(p.name));
        try {
            const ProfitFigures f =
                ProfitFigures::compute(p, 1, p.standardCount, productIndex, mats);
            QVERIFY2(e.figures, qPrintable(p.name));
            QCOMPARE(e.figures->runCost, f.runCost);
            QCOMPARE(e.figures->buyCost, f.buyCost);
            QCOMPARE(e.figures->sale, f.sale);
            QCOMPARE(e.figures->gain, f.gain);
            QVERIFY(!previous || *previous >= f.gain);  // best first
            previous = f.gain;
        } catch (const TZEMError& error) {
            QCOMPARE(e.error, error.message());
        }
        QCOMPARE(e.breakEven, ProfitRanking::breakEven(p, mats));
    }
    QCOMPARE(changed > 0, set.contains("pb") || set.contains("mb") || set.contains("ps"));
    // The material table shows the price in force.
    for (const auto& m : ranking.materials()) {
        QCOMPARE(ranking.price(m), own.value(m.name).buy.value_or(m.price));
    }
}

void TestOwnPrices::filesKeepTheirOtherLines_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("change");  // name=buy/sell, or name=pieces for holdings
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("read");  // what an unrelated item reads as afterwards
    const QByteArray prices = "; mine\r\n[Buy]\r\n塩=15\r\n酒=x\r\n[Other]\r\nk=v\r\n";
    QTest::newRow("a new price joins its section, the rest stays")
        << "TAMUPrices.ini" << prices << "麻=7/9"
        << QByteArray(
               "; mine\r\n[Buy]\r\n塩=15\r\n酒=x\r\n麻=7\r\n[Other]\r\nk=v\r\n[Sell]\r\n麻=9\r\n")
        << "塩=15/-";
    QTest::newRow("a price removed takes its line alone")
        << "TAMUPrices.ini" << prices << "塩=-/-"
        << QByteArray("; mine\r\n[Buy]\r\n酒=x\r\n[Other]\r\nk=v\r\n") << "酒=-/-";
    QTest::newRow("a value that is no price is kept, unread")
        << "TAMUPrices.ini" << prices << "塩=15/-" << prices << "酒=-/-";
    QTest::newRow("Sake and SAKE are two items")
        << "TAMUPrices.ini" << QByteArray("[Buy]\nSAKE=50\n") << "Sake=10/-"
        << QByteArray("[Buy]\nSAKE=50\nSake=10\n") << "SAKE=50/-";
    const QByteArray held = "[Holdings]\r\n米=3\r\n; note\r\n麦=-2\r\n";
    QTest::newRow("pieces held") << "TAMUHoldings.ini" << held << "米=10"
                                 << QByteArray("[Holdings]\r\n米=10\r\n; note\r\n麦=-2\r\n")
                                 << "麦=0";
    QTest::newRow("none held removes the line")
        << "TAMUHoldings.ini" << held << "米=0" << QByteArray("[Holdings]\r\n; note\r\n麦=-2\r\n")
        << "米=0";
}

// Files read back byte for byte where a change did not touch them, and the change reads back.
void TestOwnPrices::filesKeepTheirOtherLines() {
    QFETCH(QString, file);
    QFETCH(QByteArray, before);
    QFETCH(QString, change);
    QFETCH(QByteArray, after);
    QFETCH(QString, read);
    QTemporaryDir folder;
    const QString dat = folder.path() + u'/';
    writeFile(dat + file, before);
    const QString name = change.section(u'=', 0, 0);
    const QString value = change.section(u'=', 1);
    const auto readBack = [&](const QString& item) -> QString {
        if (file == QStringLiteral("TAMUHoldings.ini")) {
            return item + u'=' + QString::number(Holdings(dat).pieces(item));
        }
        const PriceBook::Prices p = PriceBook(dat).prices(item);
        const auto text = [](const std::optional<std::int32_t>& v) {
            return v ? QString::number(*v) : QStringLiteral("-");
        };
        return item + u'=' + text(p.buy) + u'/' + text(p.sell);
    };
    MessageRecorder messages;
    if (file == QStringLiteral("TAMUHoldings.ini")) {
        Holdings(dat).set(name, value.toLongLong());
    } else {
        PriceBook(dat).set(name, PriceBook::Prices{PriceBook::parsePrice(value.section(u'/', 0, 0)),
                                                   PriceBook::parsePrice(value.section(u'/', 1))});
    }
    QCOMPARE(FileFaults::readAll(dat + file), after);
    QCOMPARE(readBack(name), change);
    QCOMPARE(readBack(read.section(u'=', 0, 0)), read);
    QCOMPARE(messages.errors, QStringList());
}

void TestOwnPrices::csvImport_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QByteArray& bytes, const char* expected) {
        QTest::newRow(name) << bytes << QString::fromUtf8(expected);
    };
    row("head line, blank rows and a byte-order mark pass",
        "\xEF\xBB\xBF\xE3\x82\xA2\xE3\x82\xA4\xE3\x83\x86\xE3\x83\xA0\xE5\x90\x8D,店買い,店売り\r\n"
        "\r\n塩,15,3\r\n,,\r\n",
        "塩=15/3|");
    row("an empty cell is no own price", "塩,,3\n酒,8\n", "塩=-/3 酒=8/-|");
    row("a spreadsheet's thousands and quotes", "\"麻,布\",\"1,200\",\" 7 \"\n", "麻,布=1200/7|");
    row("the formula guard of the export comes off", "'-油,5,\n'@x,,1\n", "-油=5/- @x=-/1|");
    row("empty columns a spreadsheet adds", "塩,1,2,,,\n", "塩=1/2|");
    row("a later row of a name wins", "塩,1,\n塩,2,\n", "塩=1/- 塩=2/-|");
    row("a row that does not read is listed and skipped, the rest kept",
        "塩,15,3\n酒,abc,1\n米,-5,\n麦,99999999999,\n味噌\n,4,4\n醤油,1,2,3\n豆,1,2\n",
        "塩=15/3 豆=1/2|2 行目：「abc」は価格ではありません（酒,abc,1）;"
        "3 行目：「-5」は価格ではありません（米,-5,）;"
        "4 行目：「99999999999」は価格ではありません（麦,99999999999,）;"
        "5 行目：列はアイテム名・店買い・店売りの 3 つです（味噌）;"
        "6 行目：アイテム名がありません（,4,4）;"
        "7 行目：列はアイテム名・店買い・店売りの 3 つです（醤油,1,2,3）");
    row("a name the file cannot keep", "[塩],1,\na=b,1,\n",
        "|1 行目：この名前は保存できません（[塩],1,）;2 行目：この名前は保存できません（a=b,1,）");
    row("a line end inside quotes counts its lines", "\"塩\n俵\",1,\n酒,x,\n",
        "|1 行目：この名前は保存できません（塩\n俵,1,）;3 "
        "行目：「x」は価格ではありません（酒,x,）");
    row("a quote left open", "塩,1,\n\"酒,2,\n",
        "塩=1/-|2 行目：引用符が閉じていません（酒,2,\n）");
    row("Shift-JIS as Excel saves it", QByteArray("\x89\x96,15,\r\n"), "塩=15/-|");
}

void TestOwnPrices::csvImport() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("prices.csv"));
    writeFile(file, bytes);
    QCOMPARE(summary(PriceCsv::read(file)), expected);
}

// What the export writes, the import reads back, names that need quotes or guards included.
void TestOwnPrices::csvRoundTrip() {
    QTemporaryDir folder;
    const QString dat = folder.path() + u'/';
    PriceBook book(dat);
    book.set({{QStringLiteral("塩,\"俵\""), {1, 2}},
              {QStringLiteral("@SUM(A1)"), {std::nullopt, 0}},
              {QStringLiteral("-1"), {2147483647, std::nullopt}},
              {QStringLiteral("麻\n布"), {5, 6}}});
    const QString csv = PriceCsv::format(book);
    QVERIFY(csv.startsWith(QStringLiteral("アイテム名,店買い,店売り\r\n")));
    QVERIFY(csv.contains(QStringLiteral("'@SUM(A1),,0\r\n")));
    const PriceCsv::Import read = PriceCsv::parse(csv);
    QCOMPARE(read.problems, QStringList{"5 行目：この名前は保存できません（麻\n布,5,6）"});
    QCOMPARE(read.items.size(), 3);
    for (const auto& [name, prices] : read.items) {
        QCOMPARE(prices, book.prices(name));
    }
    // The names the file could not keep are this session's alone.
    const PriceBook again(dat);
    QStringList kept = again.names();
    kept.sort();
    QCOMPARE(kept, (QStringList{"-1", "@SUM(A1)", "塩,\"俵\""}));
}

void TestOwnPrices::faults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("garbage file reads no prices and is kept") << "garbage"
                                                              << "";
    QTest::newRow("unreadable file is said and never overwritten")
        << "unreadable"
        << "TAMUPrices.ini を読めません|TAMUPrices.ini に書き込めません";
    QTest::newRow("read-only folder keeps the price for the session")
        << "read-only"
        << "TAMUPrices.ini に書き込めません";
    QTest::newRow("an import of no CSV says so") << "binary csv"
                                                 << "は CSV ファイルとして読めません";
    QTest::newRow("an import of an unreadable file says so") << "unreadable csv"
                                                             << "を読めません";
}

// Faults give a message in Japanese and lose nothing: the file keeps its bytes.
void TestOwnPrices::faults() {
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QTemporaryDir folder;
    const QString dat = folder.path() + u'/';
    const QString file = dat + QStringLiteral("TAMUPrices.ini");
    QByteArray garbage(3000, '\0');
    std::mt19937 random(3);
    for (char& c : garbage) {
        c = char(random());
    }
    garbage.replace('=', '-');
    writeFile(file, fault == QStringLiteral("garbage") ? garbage : QByteArray("[Buy]\n塩=15\n"));
    const QByteArray before = FileFaults::readAll(file);
    QFile::setPermissions(dat, FileFaults::OpenFolder);
    MessageRecorder messages;
    QStringList said;
    if (fault.endsWith(QStringLiteral("csv"))) {
        const QString csv = dat + QStringLiteral("in.csv");
        const char bytes[] = "\x89\x96,1\n\xff\xfe\x00\x01";
        writeFile(csv, QByteArray(bytes, sizeof bytes - 1));
        if (fault == QStringLiteral("unreadable csv")) {
            QFile::setPermissions(csv, FileFaults::WriteOnly);
        }
        std::optional<FileFaults::Unprivileged> user;  // root reads any file
        if (fault == QStringLiteral("unreadable csv") && !user.emplace().ok()) {
            QSKIP("cannot take an unprivileged user here");
        }
        try {
            PriceCsv::read(csv);
        } catch (const TZEMError& e) {
            said << e.message();
        }
    } else {
        if (fault == QStringLiteral("unreadable")) {
            QFile::setPermissions(file, FileFaults::WriteOnly);
        }
        std::optional<ImmutableFolder> immutable;
        if (fault == QStringLiteral("read-only")) {
            immutable.emplace(dat);
            if (!immutable->ok()) {
                QSKIP("no immutable folders here");
            }
        }
        std::optional<FileFaults::Unprivileged> user;
        if (fault == QStringLiteral("unreadable") && !user.emplace().ok()) {
            QSKIP("cannot take an unprivileged user here");
        }
        PriceBook book(dat);
        said << messages.errors;
        try {
            book.set(QStringLiteral("酒"), {30, 20});
        } catch (const TZEMError& e) {
            said << e.message();
        }
        QCOMPARE(book.buy(QStringLiteral("酒")), std::optional<std::int32_t>(30));  // this session
    }
    QFile::setPermissions(dat, FileFaults::OpenFolder);
    QFile::setPermissions(file, FileFaults::OpenFolder);
    const QStringList expected = message.isEmpty() ? QStringList() : message.split(u'|');
    QCOMPARE(said.size(), expected.size());
    for (qsizetype i = 0; i < said.size(); ++i) {
        QVERIFY2(said[i].contains(expected[i]), qPrintable(said[i]));
    }
    if (fault != QStringLiteral("garbage")) {
        QCOMPARE(FileFaults::readAll(file), before);
    } else {
        // The garbage stays, as the text it read as (the file turns UTF-8 for the new name).
        QVERIFY(
            QString::fromUtf8(FileFaults::readAll(file)).startsWith(QString::fromLatin1(before)));
    }
}

QTEST_GUILESS_MAIN(TestOwnPrices)
#include "tst_ownprices.moc"
