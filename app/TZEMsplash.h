#pragma once

#include <QWidget>

class QLabel;

// The borderless picture that stands in the middle of the screen while the program starts. It
// releases itself (deferred) the first time it stops being the active window.
class TZEMsplash : public QWidget {
    Q_OBJECT

public:
    explicit TZEMsplash(QWidget* parent = nullptr);

    // Shows the window in front and paints it at once, before the message loop runs.
    void showAndPaint();

    void FormDeactivate();

protected:
    bool event(QEvent* event) override;

private:
    QLabel* Image1 = nullptr;
    bool m_released = false;
};
