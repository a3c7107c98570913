#pragma once

#include <QPolygon>
#include <QWidget>

// One ability bar of the potential calculator: a grid of ten 15 x 15 cells in one row, with a
// current cell chosen by mouse or keyboard and no drawing of its own inside the cells. fillTo()
// paints green boxes up to a column, as the 脚力 bar does when clicked; the picture is kept here
// and painted from paintEvent, since Qt repaints a widget whenever it likes.
class PotentialBarWidget : public QWidget {
    Q_OBJECT

public:
    static constexpr int ColumnCount = 10;
    static constexpr int CellSize = 15;
    static constexpr int CornerEllipse = 8;  // width and height of a box's corner ellipses

    explicit PotentialBarWidget(QWidget* parent = nullptr);

    int currentColumn() const { return m_current; }
    void setCurrentColumn(int column);
    QRect cellRect(int column) const;

    // Draws boxes from the first cell up to and including `column`, the other cells blank.
    void fillTo(int column);
    int filledTo() const { return m_filledTo; }

    QSize sizeHint() const override;

Q_SIGNALS:
    // The current cell was chosen by the user, by mouse or by keyboard.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(int column);
    // The pixels of a rounded rectangle's outline filling `cell`, the same at all four corners.
    static QPolygon roundedOutline(const QRect& cell, int ellipse);

    int m_current = 0;
    int m_filledTo = -1;
};
