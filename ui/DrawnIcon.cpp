#include "ui/DrawnIcon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace tandrel {

void DrawnIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                            QIcon::State state) {
  const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
  QPixmap image = pixmap(rect.size() * ratio, mode, state);
  image.setDevicePixelRatio(ratio);
  painter->drawPixmap(rect, image);
}

QPixmap DrawnIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 16.0, size.height() / 16.0);
    artwork_(p);
  }
  if (mode == QIcon::Disabled) {
    // Grey and faded, readable as "not available" on light and dark backgrounds alike.
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = line[x];
        const int a = qAlpha(c) * 45 / 100;
        const int g = qGray(c) * 45 / 100;  // premultiplied: scale with the alpha
        line[x] = qRgba(g, g, g, a);
      }
    }
  }
  return QPixmap::fromImage(std::move(image));
}

}  // namespace tandrel
