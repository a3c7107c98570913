#include "recipes/TZEMForm082.h"
#include "common/FlashNote.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "common/ElidedLabel.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/TZEMError.h"
#include "common/TZEMSpinEdit.h"
#include "common/WindowPlaces.h"
#include "recipes/PlannerWindow.h"

namespace {

constexpr int Width = 600;
constexpr int Height = 596;
constexpr int ItemRole = Qt::UserRole + 1;  // the book position behind a row

enum PurchaseColumn { PName, PPieces, PPrice, PCost, PBuy };
enum StepColumn { SName, SRecipe, SPerRun, SRuns, SPieces, SBuy };

// A text cell carries its whole text as its tooltip, for a column too narrow for it.
QTableWidgetItem* cell(const QString& text, bool number = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else if (!text.isEmpty()) {
        item->setToolTip(text);
    }
    return item;
}

QTableWidgetItem* numberCell(std::int64_t value) {
    return cell(QString::number(value), true);
}

// A check box cell "購入": checked when the product is bought.
QTableWidgetItem* buyCell(int item, bool bought) {
    auto* c = new QTableWidgetItem;
    c->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    c->setCheckState(bought ? Qt::Checked : Qt::Unchecked);
    c->setData(ItemRole, item);
    return c;
}

QString recipeText(const RecipeBook::Row& row) {
    return QStringLiteral("%1／%2／%3").arg(row.job, row.catalogue, row.skill);
}

}  // namespace

TZEMForm082::TZEMForm082(const QString& productName, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TZEMForm082"));
    PlannerWindow::setup(this, QStringLiteral("材料集計"), QSize(Width, Height));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->setSpacing(2);
    const QFont labels = Fonts::font(Fonts::Mincho, 16);
    const auto caption = [this, &labels](const QString& text) {
        QLabel* result = Controls::label(this, text, labels);
        result->setFixedWidth(84);
        return result;
    };

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(0);
    nameRow->addWidget(caption(QStringLiteral("産物名　：")));
    outProductName = new ElidedLabel(productName, this);
    outProductName->setObjectName(QStringLiteral("outProductName"));
    outProductName->setFont(Fonts::font(Fonts::Mincho, 16));
    nameRow->addWidget(outProductName, 1);
    layout->addLayout(nameRow);
    layout->addSpacing(4);

    auto* piecesRow = new QHBoxLayout;
    piecesRow->setSpacing(0);
    piecesRow->addWidget(caption(QStringLiteral("必要個数：")));
    iptPieces = new TZEMSpinEdit(this);
    iptPieces->setObjectName(QStringLiteral("iptPieces"));
    iptPieces->setBounds(1, 999999);
    iptPieces->setText(QStringLiteral("1"));
    iptPieces->setFixedSize(80, 24);
    piecesRow->addWidget(iptPieces);
    piecesRow->addStretch(1);
    evtCopy = new QPushButton(QStringLiteral("コピー"), this);
    evtCopy->setObjectName(QStringLiteral("evtCopy"));
    evtSaveCsv = new QPushButton(QStringLiteral("CSV保存"), this);
    evtSaveCsv->setObjectName(QStringLiteral("evtSaveCsv"));
    evtCopy->setFixedSize(94, 25);
    evtSaveCsv->setFixedSize(94, 25);
    piecesRow->addWidget(evtCopy);
    piecesRow->addSpacing(6);
    piecesRow->addWidget(evtSaveCsv);
    layout->addLayout(piecesRow);
    layout->addSpacing(6);

    // The tables share what the window grows by as they share its first size.
    layout->addWidget(Controls::label(this, QStringLiteral("原材料"), labels));
    outPurchases = PlannerWindow::table(
        this, QStringLiteral("outPurchases"),
        {QStringLiteral("材料名"), QStringLiteral("個数"), QStringLiteral("店買い"),
         QStringLiteral("金額"), QStringLiteral("購入")});
    outPurchases->setMinimumHeight(80);
    layout->addWidget(outPurchases, 176);
    auto* totalRow = new QHBoxLayout;
    outTotal = Controls::label(this, QString(), labels, QStringLiteral("outTotal"));
    outTotal->setMinimumWidth(250);
    totalRow->addWidget(outTotal);
    outNote = new ElidedLabel(this);
    outNote->setObjectName(QStringLiteral("outNote"));
    outNote->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totalRow->addWidget(outNote, 1);
    layout->addSpacing(2);
    layout->addLayout(totalRow);
    layout->addSpacing(6);

    layout->addWidget(Controls::label(this, QStringLiteral("生産手順"), labels));
    outSteps = PlannerWindow::table(
        this, QStringLiteral("outSteps"),
        {QStringLiteral("産物名"), QStringLiteral("レシピ"), QStringLiteral("生産数"),
         QStringLiteral("回数"), QStringLiteral("個数"), QStringLiteral("購入")});
    outSteps->setMinimumHeight(80);
    layout->addWidget(outSteps, 166);
    layout->addSpacing(6);
    layout->addWidget(Controls::label(this, QStringLiteral("余り"), labels));
    outLeftovers = PlannerWindow::table(this, QStringLiteral("outLeftovers"),
                                        {QStringLiteral("産物名"), QStringLiteral("個数")});
    outLeftovers->setMinimumHeight(50);
    layout->addWidget(outLeftovers, 78);

    // The name columns take what the window is wider by; the others keep their widths, which
    // the user may change.
    const auto widths = [](QTableWidget* t, std::initializer_list<int> columns) {
        int c = 0;
        for (const int w : columns) {
            t->setColumnWidth(c++, w);
        }
        PlannerWindow::fillWithColumn(t, 0, *columns.begin());
    };
    widths(outPurchases, {150, 90, 80, 100, 40});
    widths(outSteps, {120, 214, 52, 52, 60, 40});
    widths(outLeftovers, {150, 90});

    connect(iptPieces, &TZEMSpinEdit::changed, this,
            [this] { Messages::guarded([this] { recalculate(); }); });
    for (QTableWidget* t : {outPurchases, outSteps}) {
        connect(t, &QTableWidget::itemChanged, this,
                [this](QTableWidgetItem* item) { itemChanged(item); });
    }
    connect(evtCopy, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { copyToClipboard(); }); });
    connect(evtSaveCsv, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { saveClicked(); }); });

    evtCopy->setEnabled(false);
    evtSaveCsv->setEnabled(false);
    WindowPlaces::attach(this);
}

TZEMForm082::~TZEMForm082() = default;

TZEMForm082* TZEMForm082::openFor(const QString& productName, const QString& dbPath) {
    // Only a list that could be read gets a window; a failed read leaves just its message.
    auto window = std::make_unique<TZEMForm082>(productName);
    window->load(productName, dbPath);
    window->show();
    return window.release();
}

void TZEMForm082::load(const QString& productName, const QString& dbPath) {
    auto book = std::make_unique<RecipeBook>(RecipeBook::read(dbPath, productName));
    if (!book->at(0).isProduct()) {
        throw TZEMError(
            QStringLiteral("「%1」の生産レシピが見つかりませんでした。").arg(productName));
    }
    m_book = std::move(book);
    m_list = std::make_unique<ShoppingList>(*m_book);
    evtCopy->setEnabled(true);
    evtSaveCsv->setEnabled(true);
    // Setting the default count recalculates.
    iptPieces->setText(QString::number(m_list->defaultPieces()));
    recalculate();
}

void TZEMForm082::recalculate() {
    if (!m_list) {
        return;
    }
    m_list->setPieces(iptPieces->value());
    m_plan = m_list->plan();
    showPlan(m_plan);
}

void TZEMForm082::showPlan(const ShoppingList::Plan& plan) {
    const RecipeBook& book = *m_book;
    const QSignalBlocker purchasesBlocker(outPurchases);
    const QSignalBlocker stepsBlocker(outSteps);
    // One repaint for the whole refill.
    setUpdatesEnabled(false);
    const auto repaint = qScopeGuard([this] { setUpdatesEnabled(true); });

    outPurchases->setRowCount(int(plan.purchases.size()));
    for (int r = 0; r < int(plan.purchases.size()); ++r) {
        const ShoppingList::Purchase& p = plan.purchases[std::size_t(r)];
        const RecipeBook::Entry& e = book.at(p.item);
        outPurchases->setItem(r, PName, cell(e.name));
        outPurchases->setItem(r, PPieces, numberCell(p.pieces));
        outPurchases->setItem(r, PPrice, e.price ? numberCell(*e.price) : cell(QString()));
        outPurchases->setItem(r, PCost, p.cost ? numberCell(*p.cost) : cell(QString()));
        if (p.switched) {
            outPurchases->setItem(r, PBuy, buyCell(p.item, true));
        } else {
            auto* note = cell(p.cycle ? QStringLiteral("循環") : QString());
            if (p.cycle) {
                note->setToolTip(QStringLiteral("作る途中の産物に戻るため購入します"));
            }
            outPurchases->setItem(r, PBuy, note);
        }
    }
    outTotal->setText(QStringLiteral("合計：%1").arg(plan.total));
    outNote->setText(plan.unpriced > 0 ? ShoppingList::UnpricedNote.arg(plan.unpriced) : QString());

    outSteps->setRowCount(int(plan.steps.size()));
    for (int r = 0; r < int(plan.steps.size()); ++r) {
        const ShoppingList::Step& s = plan.steps[std::size_t(r)];
        const RecipeBook::Entry& e = book.at(s.item);
        outSteps->setItem(r, SName, cell(e.name));
        // A replaced box is freed only later: hidden now, so that it never shows where the
        // table had put it before being laid out again.
        if (QWidget* previous = outSteps->cellWidget(r, SRecipe)) {
            previous->hide();
        }
        outSteps->removeCellWidget(r, SRecipe);
        if (e.rows.size() > 1) {
            auto* choice = new QComboBox;
            for (const RecipeBook::Row& row : e.rows) {
                choice->addItem(recipeText(row) + QStringLiteral("（%1個）").arg(row.count));
            }
            choice->setCurrentIndex(s.row);
            choice->setToolTip(choice->currentText());
            const int item = s.item;
            connect(choice, &QComboBox::currentIndexChanged, this, [this, item](int row) {
                m_list->setRow(item, row);
                recalculateLater();
            });
            outSteps->setItem(r, SRecipe, cell(QString()));
            outSteps->setCellWidget(r, SRecipe, choice);
        } else {
            outSteps->setItem(r, SRecipe, cell(recipeText(e.rows[std::size_t(s.row)])));
        }
        outSteps->setItem(r, SPerRun, numberCell(s.perRun));
        outSteps->setItem(r, SRuns, numberCell(s.runs));
        outSteps->setItem(r, SPieces, numberCell(s.pieces));
        outSteps->setItem(r, SBuy, s.item == 0 ? cell(QString()) : buyCell(s.item, false));
    }

    outLeftovers->setRowCount(0);
    for (const ShoppingList::Step& s : plan.steps) {
        if (s.pieces > s.needed) {
            const int r = outLeftovers->rowCount();
            outLeftovers->insertRow(r);
            outLeftovers->setItem(r, 0, cell(book.at(s.item).name));
            outLeftovers->setItem(r, 1, numberCell(s.pieces - s.needed));
        }
    }
}

void TZEMForm082::itemChanged(QTableWidgetItem* item) {
    if (!m_list || !(item->flags() & Qt::ItemIsUserCheckable)) {
        return;
    }
    m_list->setBought(item->data(ItemRole).toInt(), item->checkState() == Qt::Checked);
    recalculateLater();
}

void TZEMForm082::recalculateLater() {
    // The tables are refilled, so the cell or box that reported the change is replaced: not
    // while it is still reporting.
    QMetaObject::invokeMethod(
        this, [this] { Messages::guarded([this] { recalculate(); }); }, Qt::QueuedConnection);
}

void TZEMForm082::copyToClipboard() {
    if (m_list) {
        QGuiApplication::clipboard()->setText(m_list->toTabText(m_plan));
        FlashNote::show(evtCopy, QStringLiteral("材料集計をコピーしました"));
    }
}

void TZEMForm082::saveCsv(const QString& fileName) {
    if (!m_list) {
        return;
    }
    QSaveFile file(fileName);
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + m_list->toCsv(m_plan).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw TZEMError::cannotWrite(fileName);
    }
    FlashNote::show(evtSaveCsv,
                    QStringLiteral("%1 に保存しました").arg(QFileInfo(fileName).fileName()));
}

void TZEMForm082::saveClicked() {
    const QString fileName = QFileDialog::getSaveFileName(
        this, QStringLiteral("CSV保存"), outProductName->text() + QStringLiteral("_材料集計.csv"),
        QStringLiteral("CSV ファイル (*.csv)"));
    if (!fileName.isEmpty()) {
        saveCsv(fileName);
    }
}
