#include "gametime/ClockPicture.h"

#include <QPainter>

ClockPicture::ClockPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
}

void ClockPicture::setPicture(const QImage& picture) {
    if (!m_picture.isNull() && picture.cacheKey() == m_picture.cacheKey()) {
        return;
    }
    m_picture = picture;
    if (m_key) {
        makeKeyed();
    } else {
        m_nothingToDraw = m_picture.isNull();
    }
    update();
}

void ClockPicture::setKeyColor(std::optional<QRgb> key) {
    m_key = key;
    if (m_key) {
        makeKeyed();
    } else {
        m_keyed = QImage();
        m_nothingToDraw = m_picture.isNull();
    }
    update();
}

void ClockPicture::makeKeyed() {
    const QImage source =
        (m_picture.format() == QImage::Format_RGB32 || m_picture.format() == QImage::Format_ARGB32)
            ? m_picture
            : m_picture.convertToFormat(QImage::Format_ARGB32);
    if (m_keyed.size() != source.size() ||
        m_keyed.format() != QImage::Format_ARGB32_Premultiplied) {
        m_keyed = QImage(source.size(), QImage::Format_ARGB32_Premultiplied);
    }
    const QRgb key = *m_key | 0xFF000000u;
    const bool opaque = source.format() == QImage::Format_RGB32;
    bool anyDrawn = false;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(m_keyed.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = opaque ? (in[x] | 0xFF000000u) : in[x];
            if (p == key) {
                out[x] = 0;
            } else {
                out[x] = opaque ? p : qPremultiply(p);
                anyDrawn = true;
            }
        }
    }
    m_nothingToDraw = !anyDrawn;
}

void ClockPicture::paintEvent(QPaintEvent*) {
    if (m_nothingToDraw) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), shown());
}
