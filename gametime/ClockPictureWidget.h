#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <optional>

// A picture control of the clock window: it stretches its picture to its own size and, when
// given a key colour, does not draw the picture's pixels of that colour. The see-through copy
// is made when the picture changes (not per paint) and reuses one buffer, so swapping hand
// pictures once a second allocates nothing.
class ClockPictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit ClockPictureWidget(QWidget* parent = nullptr);

    // Shares the picture's data; the same picture again changes nothing. With a place, the
    // picture is the part `place` of a picture of size `whole` that is transparent elsewhere
    // (the drawn part of a hand): it is painted into a copy of that size, reused from picture to
    // picture.
    void setPicture(const QImage& picture, const QRect& place = QRect(),
                    const QSize& whole = QSize());
    const QImage& picture() const { return m_picture; }

    void setKeyColor(std::optional<QRgb> key);
    std::optional<QRgb> keyColor() const { return m_key; }

    // What is painted (the see-through or placed copy), before stretching.
    const QImage& shown() const { return m_key || !m_place.isNull() ? m_keyed : m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static bool placed(const QRect& place, const QSize& whole);
    void makeKeyed();

    QImage m_picture;
    QRect m_place;
    QSize m_whole;
    QImage m_keyed;     // ARGB32 premultiplied, the key colour fully transparent
    QRect m_keyedPart;  // where m_keyed holds the last part, the rest being transparent
    std::optional<QRgb> m_key;
    bool m_nothingToDraw = false;
};
