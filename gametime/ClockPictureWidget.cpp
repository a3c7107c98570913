#include "gametime/ClockPictureWidget.h"

#include <QPainter>
#include <algorithm>

ClockPictureWidget::ClockPictureWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
}

void ClockPictureWidget::setPicture(const QImage& picture, const QRect& place, const QSize& whole) {
    if (!m_picture.isNull() && picture.cacheKey() == m_picture.cacheKey() && place == m_place) {
        return;
    }
    m_picture = picture;
    m_place = placed(place, whole) ? place : QRect();
    m_whole = whole;
    if (m_key || !m_place.isNull()) {
        makeKeyed();
    } else {
        m_nothingToDraw = m_picture.isNull();
    }
    update();
}

void ClockPictureWidget::setKeyColor(std::optional<QRgb> key) {
    m_key = key;
    if (m_key || !m_place.isNull()) {
        makeKeyed();
    } else {
        m_keyed = QImage();
        m_nothingToDraw = m_picture.isNull();
    }
    update();
}

bool ClockPictureWidget::placed(const QRect& place, const QSize& whole) {
    return !place.isNull() && !whole.isEmpty() && QRect(QPoint(0, 0), whole).contains(place);
}

void ClockPictureWidget::makeKeyed() {
    const QImage source =
        (m_picture.format() == QImage::Format_RGB32 || m_picture.format() == QImage::Format_ARGB32)
            ? m_picture
            : m_picture.convertToFormat(QImage::Format_ARGB32);
    // A part goes to its place in a transparent whole, so that the whole is stretched exactly as
    // a whole picture would be; only the part drawn before is cleared.
    const QSize size = m_place.isNull() ? source.size() : m_whole;
    const QPoint at = m_place.isNull() ? QPoint(0, 0) : m_place.topLeft();
    if (m_keyed.size() != size || m_keyed.format() != QImage::Format_ARGB32_Premultiplied) {
        m_keyed = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_keyed.fill(0);
        m_keyedPart = QRect();
    } else if (!m_place.isNull()) {
        for (int y = m_keyedPart.top(); y <= m_keyedPart.bottom(); ++y) {
            auto* out = reinterpret_cast<QRgb*>(m_keyed.scanLine(y));
            std::fill(out + m_keyedPart.left(), out + m_keyedPart.right() + 1, QRgb{0});
        }
    }
    m_keyedPart = QRect(at, source.size()).intersected(m_keyed.rect());
    const bool opaque = source.format() == QImage::Format_RGB32;
    const bool keyed = m_key.has_value();
    const QRgb key = keyed ? (*m_key | 0xFF000000u) : 0;
    bool anyDrawn = false;
    for (int y = 0; y < m_keyedPart.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(m_keyed.scanLine(y + at.y())) + at.x();
        for (int x = 0; x < m_keyedPart.width(); ++x) {
            const QRgb p = opaque ? (in[x] | 0xFF000000u) : in[x];
            if (keyed && p == key) {
                out[x] = 0;
            } else {
                out[x] = opaque ? p : qPremultiply(p);
                anyDrawn = true;
            }
        }
    }
    m_nothingToDraw = !anyDrawn;
}

void ClockPictureWidget::paintEvent(QPaintEvent*) {
    if (m_nothingToDraw) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), shown());
}
