#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

// A picture control of the clock window: it stretches its picture to its own size and, when
// given a key colour, does not draw the picture's pixels of that colour. The see-through copy
// is made when the picture changes (not per paint) and reuses one buffer, so swapping hand
// pictures once a second allocates nothing.
class ClockPicture : public QWidget {
    Q_OBJECT
public:
    explicit ClockPicture(QWidget* parent = nullptr);

    // Shares the picture's data; the same picture again changes nothing.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

    void setKeyColor(std::optional<QRgb> key);
    std::optional<QRgb> keyColor() const { return m_key; }

    // What is painted (the see-through copy when keyed), before stretching.
    const QImage& shown() const { return m_key ? m_keyed : m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void makeKeyed();

    QImage m_picture;
    QImage m_keyed;  // ARGB32 premultiplied, the key colour fully transparent
    std::optional<QRgb> m_key;
    bool m_nothingToDraw = false;
};
