#pragma once

#include <QWidget>

class PotentialBarWidget;

// 潜在能力計算機: a planner layout of ability bars on three tabs. It computes nothing; only the
// 脚力 bar reacts, filling boxes up to the cell the user chooses.
class TZEMForm04 : public QWidget {
    Q_OBJECT

public:
    explicit TZEMForm04(QWidget* parent = nullptr);

    void DrawGrid8Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();

    PotentialBarWidget* DrawGrid8 = nullptr;
};
