#include "status/TZEMForm032.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/FlashNote.h"
#include "common/Messages.h"
#include "common/ToolWindow.h"
#include "status/BuildCode.h"
#include "status/TZEMForm03.h"

namespace {

constexpr int NumberRole = Qt::UserRole;

}  // namespace

TZEMForm032::TZEMForm032(StatusBuildBook& book, TZEMForm03& calculator)
    : QWidget(&calculator), m_book(&book), m_calculator(calculator) {
    setObjectName(QStringLiteral("TZEMForm032"));
    ToolWindow::setupResizable(this, QStringLiteral("保存したビルド"), QSize(440, 360));
    buildControls();
    showCurrent();
    showBuilds();
    connect(&calculator, &TZEMForm03::statusChanged, this, [this] { showCurrent(); });
    connect(&book, &StatusBuildBook::changed, this, [this] { showBuilds(); });
}

QPushButton* TZEMForm032::button(const char* name, const QString& text,
                                 void (TZEMForm032::*handler)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QPushButton::clicked, this,
            [this, handler] { Messages::guarded([this, handler] { (this->*handler)(); }); });
    return b;
}

void TZEMForm032::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);

    auto* now = new QGroupBox(QStringLiteral("ステータス計算機のキャラクター"), this);
    auto* nowLayout = new QGridLayout(now);
    m_current = new QLabel(now);
    m_current->setObjectName(QStringLiteral("viwCurrent"));
    nowLayout->addWidget(m_current, 0, 0, 1, 3);
    nowLayout->addWidget(new QLabel(QStringLiteral("共有コード"), now), 1, 0);
    m_code = new QLabel(now);
    m_code->setObjectName(QStringLiteral("viwCode"));
    m_code->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_code->setFont(QFont(QStringLiteral("monospace")));
    nowLayout->addWidget(m_code, 1, 1);
    nowLayout->setColumnStretch(1, 1);
    auto* codeButtons = new QHBoxLayout;
    QPushButton* copy =
        button("evtCopyCode", QStringLiteral("コードをコピー"), &TZEMForm032::evtCopyCodeClick);
    copy->setToolTip(QStringLiteral("チャットに貼れる短いコードをクリップボードへ"));
    codeButtons->addWidget(copy);
    QPushButton* paste = button("evtPasteCode", QStringLiteral("コードを貼り付けて読み込む"),
                                &TZEMForm032::evtPasteCodeClick);
    paste->setToolTip(
        QStringLiteral("クリップボードのコードのビルドをステータス計算機に読み込みます"));
    codeButtons->addWidget(paste);
    codeButtons->addStretch(1);
    nowLayout->addLayout(codeButtons, 2, 0, 1, 3);
    layout->addWidget(now);

    auto* saved = new QGroupBox(QStringLiteral("保存したビルド"), this);
    auto* savedLayout = new QVBoxLayout(saved);
    m_list = new QListWidget(saved);
    m_list->setObjectName(QStringLiteral("viwBuilds"));
    savedLayout->addWidget(m_list, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("名前"), saved));
    m_name = new QLineEdit(saved);
    m_name->setObjectName(QStringLiteral("iptBuildName"));
    m_name->setMaxLength(StatusBuildBook::MaxNameLength);
    m_name->setPlaceholderText(QStringLiteral("保存するときの名前"));
    nameRow->addWidget(m_name, 1);
    QPushButton* save = button("evtSave", QStringLiteral("保存"), &TZEMForm032::evtSaveClick);
    save->setToolTip(QStringLiteral("ステータス計算機のキャラクターをこの名前で保存します"));
    nameRow->addWidget(save);
    savedLayout->addLayout(nameRow);
    auto* buttons = new QHBoxLayout;
    m_needSelection = {
        button("evtLoad", QStringLiteral("読み込み"), &TZEMForm032::evtLoadClick),
        button("evtRename", QStringLiteral("名前を変更"), &TZEMForm032::evtRenameClick),
        button("evtDelete", QStringLiteral("削除"), &TZEMForm032::evtDeleteClick),
        button("evtCopyBuildCode", QStringLiteral("コードをコピー"),
               &TZEMForm032::evtCopyBuildCodeClick),
    };
    m_needSelection[0]->setToolTip(QStringLiteral("選んだビルドをステータス計算機に読み込みます"));
    m_needSelection[1]->setToolTip(QStringLiteral("選んだビルドを「名前」の欄の名前にします"));
    for (QPushButton* b : std::as_const(m_needSelection)) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    savedLayout->addLayout(buttons);
    layout->addWidget(saved, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { selectionChanged(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this] { Messages::guarded([this] { evtLoadClick(); }); });
    connect(m_name, &QLineEdit::returnPressed, this,
            [this] { Messages::guarded([this] { evtSaveClick(); }); });
}

void TZEMForm032::showCurrent() {
    const StatusBuild build = StatusBuild::of(m_calculator.status());
    m_current->setText(build.describe());
    m_code->setText(build.problem() ? QString() : BuildCode::encode(build));
}

void TZEMForm032::showBuilds() {
    const QString selected = selectedBuild() ? selectedBuild()->name : QString();
    m_list->clear();
    if (m_book) {
        for (const StatusBuildBook::Entry& e : m_book->entries()) {
            auto* item =
                new QListWidgetItem(e.name + QStringLiteral("　　") + e.build.describe(), m_list);
            item->setData(NumberRole, e.number);
        }
    }
    selectBuild(selected);
    selectionChanged();
}

const StatusBuildBook::Entry* TZEMForm032::selectedBuild() const {
    const QListWidgetItem* item = m_list->currentItem();
    return item && m_book && item->isSelected() ? m_book->byNumber(item->data(NumberRole).toInt())
                                                : nullptr;
}

void TZEMForm032::selectBuild(const QString& name) {
    const StatusBuildBook::Entry* entry = m_book ? m_book->find(name) : nullptr;
    for (int row = 0; row < m_list->count(); ++row) {
        if (entry && m_list->item(row)->data(NumberRole).toInt() == entry->number) {
            m_list->setCurrentRow(row);
            return;
        }
    }
    m_list->setCurrentRow(-1);
}

void TZEMForm032::selectionChanged() {
    const StatusBuildBook::Entry* entry = selectedBuild();
    for (QPushButton* b : std::as_const(m_needSelection)) {
        b->setEnabled(entry != nullptr);
    }
    if (entry) {
        m_name->setText(entry->name);
    }
}

void TZEMForm032::evtSaveClick() {
    if (!m_book) {
        return;
    }
    const QString name = StatusBuildBook::checkedName(m_name->text());
    if (m_book->find(name) &&
        !Messages::confirm(
            QStringLiteral("上書きの確認"),
            QStringLiteral("ビルド「%1」を今のキャラクターで上書きしますか？").arg(name))) {
        return;
    }
    m_book->save(name, StatusBuild::of(m_calculator.status()));
    selectBuild(name);
    FlashNote::show(findChild<QPushButton*>(QStringLiteral("evtSave")),
                    QStringLiteral("「%1」を保存しました").arg(name));
}

void TZEMForm032::evtLoadClick() {
    if (const StatusBuildBook::Entry* entry = selectedBuild()) {
        m_calculator.loadCharacter(entry->build.character());
        FlashNote::show(m_needSelection[0],
                        QStringLiteral("「%1」を読み込みました").arg(entry->name));
    }
}

void TZEMForm032::evtRenameClick() {
    if (const StatusBuildBook::Entry* entry = selectedBuild()) {
        const QString to = StatusBuildBook::checkedName(m_name->text());
        m_book->rename(entry->name, to);
        selectBuild(to);
    }
}

void TZEMForm032::evtDeleteClick() {
    const StatusBuildBook::Entry* entry = selectedBuild();
    if (!entry) {
        return;
    }
    const QString name = entry->name;
    if (Messages::confirm(QStringLiteral("削除の確認"),
                          QStringLiteral("ビルド「%1」を削除しますか？").arg(name))) {
        m_book->remove(name);
    }
}

void TZEMForm032::evtCopyCodeClick() {
    QGuiApplication::clipboard()->setText(
        BuildCode::encode(StatusBuild::of(m_calculator.status())));
    FlashNote::show(findChild<QPushButton*>(QStringLiteral("evtCopyCode")),
                    QStringLiteral("コードをコピーしました"));
}

void TZEMForm032::evtCopyBuildCodeClick() {
    if (const StatusBuildBook::Entry* entry = selectedBuild()) {
        QGuiApplication::clipboard()->setText(BuildCode::encode(entry->build));
        FlashNote::show(m_needSelection[3],
                        QStringLiteral("「%1」のコードをコピーしました").arg(entry->name));
    }
}

void TZEMForm032::evtPasteCodeClick() {
    // A refused code throws before anything changes.
    const StatusBuild build = BuildCode::decode(QGuiApplication::clipboard()->text());
    m_calculator.loadCharacter(build.character());
    FlashNote::show(findChild<QPushButton*>(QStringLiteral("evtPasteCode")),
                    QStringLiteral("コードのビルドを読み込みました"));
}
