#pragma once

#include <QPointer>
#include <QWidget>

#include "status/StatusBuildBook.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TZEMForm03;

// 保存したビルド: the status window's character saved under a name, loaded back, renamed and
// deleted; the character or a saved build copied as a share code, and a pasted code loaded. It
// belongs to one status window and closes with it.
class TZEMForm032 : public QWidget {
    Q_OBJECT

public:
    TZEMForm032(StatusBuildBook& book, TZEMForm03& calculator);

    // The saved build selected in the list; null when none is.
    const StatusBuildBook::Entry* selectedBuild() const;
    void selectBuild(const QString& name);

    // Command handlers.
    void evtSaveClick();
    void evtLoadClick();
    void evtRenameClick();
    void evtDeleteClick();
    void evtCopyCodeClick();
    void evtCopyBuildCodeClick();
    void evtPasteCodeClick();

private:
    void buildControls();
    void showCurrent();
    void showBuilds();
    void selectionChanged();
    QPushButton* button(const char* name, const QString& text, void (TZEMForm032::*handler)());

    QPointer<StatusBuildBook> m_book;
    TZEMForm03& m_calculator;
    QLabel* m_current = nullptr;
    QLabel* m_code = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QList<QPushButton*> m_needSelection;
};
