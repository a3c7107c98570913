#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "status/TZEMStatusNow.h"

class QComboBox;
class QLabel;
class StatusBuildBook;
class TZEMForm031;
class TZEMForm032;
class TZEMSpinEdit;

// ステータス計算機: job, faction, bonus points and level in; every value at the level out. The
// window works on a copy of the controller's character and copies it back after every Refresh,
// so the character survives closing and reopening within a run.
class TZEMForm03 : public QWidget {
    Q_OBJECT

public:
    // Without a book of saved builds the window offers none.
    explicit TZEMForm03(TZEMStatusNow& statusNow, StatusBuildBook* builds = nullptr,
                        QWidget* parent = nullptr);
    ~TZEMForm03() override;

    // The faction list shows the factions in its own order; these map between list position
    // and faction code (-1 for an unknown one).
    static int factionCodeAt(int position);
    static int factionPosition(int code);

    const TZEMStatusNow& status() const { return m_status; }

    void Refresh();
    void ShowInputs();
    // Makes the window's character this one (a saved or pasted build), as if typed in.
    void loadCharacter(const TZEMStatusNow& character);

    // Event handlers.
    void iptINFChange();
    void iptJOBChange();
    void iptPOWChange();
    void iptVITChange();
    void iptDEXChange();
    void iptINTChange();
    void iptPHIChange();
    void iptLVChange();
    void iptSpinExit();
    // Opens the level table for this character, or brings an open one to the front and lets it
    // follow this window.
    void evtLevelTableClick();
    // Opens the window of saved builds and share codes, or brings it to the front.
    void evtBuildsClick();

Q_SIGNALS:
    // After every recomputation, with the character as it now stands.
    void statusChanged(const TZEMStatusNow& status);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Field = std::int32_t TZEMStatusBas::*;
    using Setter = void (TZEMStatusBon::*)(std::int32_t);

    void FormCreate();
    void FormClose();
    void buildControls();
    void bonusChange(TZEMSpinEdit* box, Field field, Setter setter);
    void select(QComboBox* combo, int position);
    static int selectedPosition(const QComboBox* combo);
    void display(const char* name, qint64 value);
    void followedBy(TZEMForm031* levelTable);
    void showLastBonus();

    TZEMStatusNow& m_controllerStatus;
    QPointer<StatusBuildBook> m_builds;
    QPointer<TZEMForm032> m_buildsWindow;
    TZEMStatusNow m_status;
    bool m_selecting = false;

    QComboBox* iptINF = nullptr;
    QComboBox* iptJOB = nullptr;
    TZEMSpinEdit* iptPOW = nullptr;
    TZEMSpinEdit* iptVIT = nullptr;
    TZEMSpinEdit* iptDEX = nullptr;
    TZEMSpinEdit* iptINT = nullptr;
    TZEMSpinEdit* iptPHI = nullptr;
    TZEMSpinEdit* iptLV = nullptr;
    QLabel* viwLastBonus = nullptr;
};
