#pragma once
// An icon drawn by code at whatever size is asked for, so that it stays sharp at 16 px in a list and
// at 24 px or more in the toolbar, on any screen resolution.
#include <functional>

#include <QIcon>
#include <QIconEngine>

class QPainter;

namespace tandrel {

// Draws the artwork into a 16 x 16 unit square; the engine scales it to the requested size.
using IconArtwork = std::function<void(QPainter&)>;

class DrawnIconEngine : public QIconEngine {
 public:
  explicit DrawnIconEngine(IconArtwork artwork) : artwork_(std::move(artwork)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  QIconEngine* clone() const override { return new DrawnIconEngine(artwork_); }
  QString key() const override { return QStringLiteral("tandrel-drawn"); }

 private:
  IconArtwork artwork_;
};

inline QIcon MakeDrawnIcon(IconArtwork artwork) {
  return QIcon(new DrawnIconEngine(std::move(artwork)));
}

}  // namespace tandrel
