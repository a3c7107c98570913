#include "recipes/TZEMForm084.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/FlashNote.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/TZEMError.h"
#include "common/WindowPlaces.h"
#include "recipes/CsvText.h"
#include "recipes/OwnPriceModel.h"
#include "recipes/PlannerData.h"
#include "recipes/PlannerWindow.h"

namespace {

constexpr int Width = 560;
constexpr int Height = 480;
constexpr int ProblemsShown = 20;

}  // namespace

TZEMForm084::TZEMForm084(const QString& dbPath, const QString& dataFolder, QWidget* parent)
    : QWidget(parent), m_dbPath(dbPath), m_folder(dataFolder), m_data(PlannerData::of(dataFolder)) {
    setObjectName(QStringLiteral("TZEMForm084"));
    PlannerWindow::setup(this, QStringLiteral("自分の価格"), QSize(Width, Height));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->setSpacing(4);
    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(new QLabel(QStringLiteral("絞り込み："), this));
    iptFilter = new QLineEdit(this);
    iptFilter->setObjectName(QStringLiteral("iptFilter"));
    iptFilter->setPlaceholderText(QStringLiteral("アイテム名の一部"));
    iptFilter->setClearButtonEnabled(true);
    iptFilter->setFixedWidth(150);
    top->addWidget(iptFilter);
    chkOwnOnly = new QCheckBox(QStringLiteral("自分の価格のみ"), this);
    chkOwnOnly->setObjectName(QStringLiteral("chkOwnOnly"));
    top->addWidget(chkOwnOnly);
    top->addStretch(1);
    evtImport = new QPushButton(QStringLiteral("CSV読込"), this);
    evtImport->setObjectName(QStringLiteral("evtImport"));
    evtExport = new QPushButton(QStringLiteral("CSV保存"), this);
    evtExport->setObjectName(QStringLiteral("evtExport"));
    for (QPushButton* b : {evtImport, evtExport}) {
        b->setFixedSize(94, 25);
        top->addWidget(b);
    }
    layout->addLayout(top);

    m_model = new OwnPriceModel(m_data, this);
    outPrices = PlannerWindow::view(this, QStringLiteral("outPrices"), m_model);
    outPrices->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
        QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    outPrices->setSelectionBehavior(QAbstractItemView::SelectItems);
    const int widths[] = {170, 70, 90, 70, 90};
    for (int c = 0; c < OwnPriceModel::Columns; ++c) {
        outPrices->setColumnWidth(c, widths[c]);
    }
    PlannerWindow::fillWithColumn(outPrices, OwnPriceModel::Name, widths[0]);
    layout->addWidget(outPrices, 1);

    outNote = new QLabel(
        QStringLiteral("自分の価格は材料集計と利益ランキングで店買い・店売りの代わりに"
                       "使われます（産物商利益計算機では「自分の価格で計算」を選んだとき）。"),
        this);
    outNote->setObjectName(QStringLiteral("outNote"));
    outNote->setWordWrap(true);
    layout->addWidget(outNote);

    connect(iptFilter, &QLineEdit::textChanged, this, &TZEMForm084::filterChanged);
    connect(chkOwnOnly, &QCheckBox::toggled, this, &TZEMForm084::filterChanged);
    connect(evtImport, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { importClicked(); }); });
    connect(evtExport, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { exportClicked(); }); });
    WindowPlaces::attach(this);
}

TZEMForm084::~TZEMForm084() = default;

TZEMForm084* TZEMForm084::openFor(const QString& dbPath, const QString& dataFolder) {
    const PlannerData& data = PlannerData::of(dataFolder);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* open = qobject_cast<TZEMForm084*>(w);
        if (open && open->isVisible() && &PlannerData::of(open->m_folder) == &data) {
            open->raise();
            open->activateWindow();
            return open;
        }
    }
    auto* window = new TZEMForm084(dbPath, dataFolder);
    window->show();
    Messages::guarded([window] { window->load(); });
    return window;
}

void TZEMForm084::load() {
    m_model->setItems(OwnPriceModel::readItems(m_dbPath));
}

void TZEMForm084::filterChanged() {
    m_model->setFilter(iptFilter->text().trimmed(), chkOwnOnly->isChecked());
}

void TZEMForm084::importCsv(const QString& fileName) {
    const PriceCsv::Import read = PriceCsv::read(fileName);
    QString skipped;
    if (!read.problems.isEmpty()) {
        skipped = QStringLiteral("読めない行 %1 件を飛ばしました：\n").arg(read.problems.size()) +
                  read.problems.mid(0, ProblemsShown).join(u'\n');
        if (read.problems.size() > ProblemsShown) {
            skipped += QStringLiteral("\nほか %1 件").arg(read.problems.size() - ProblemsShown);
        }
    }
    if (read.items.isEmpty()) {
        throw TZEMError(QStringLiteral("%1 に読み込める行がありませんでした。%2")
                            .arg(QFileInfo(fileName).fileName(),
                                 skipped.isEmpty() ? QString() : u'\n' + skipped));
    }
    m_data.setPrices(read.items);
    FlashNote::show(evtImport,
                    QStringLiteral("%1 件の価格を読み込みました").arg(read.items.size()));
    if (!skipped.isEmpty()) {
        Messages::showError(skipped);
    }
}

void TZEMForm084::exportCsv(const QString& fileName) {
    CsvText::save(fileName, PriceCsv::format(m_data.prices()));
    FlashNote::show(evtExport,
                    QStringLiteral("%1 に保存しました").arg(QFileInfo(fileName).fileName()));
}

void TZEMForm084::importClicked() {
    const QString fileName =
        QFileDialog::getOpenFileName(this, QStringLiteral("CSV読込"), m_folder,
                                     QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*)"));
    if (!fileName.isEmpty()) {
        importCsv(fileName);
    }
}

void TZEMForm084::exportClicked() {
    const QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("CSV保存"),
                                                          QStringLiteral("自分の価格.csv"),
                                                          QStringLiteral("CSV ファイル (*.csv)"));
    if (!fileName.isEmpty()) {
        exportCsv(fileName);
    }
}
