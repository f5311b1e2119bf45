#include "ui/Icons.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "ui/DrawnIcon.h"

namespace tandrel {

namespace {

// Every drawing works in a 16 x 16 unit square.
const QColor kWhite(255, 255, 255);

QPen Stroke(const QColor& color, qreal width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Disc(QPainter& p, const QColor& fill, const QColor& edge) {
  p.setPen(Stroke(edge, 1.0));
  p.setBrush(fill);
  p.drawEllipse(QPointF(8, 8), 7.0, 7.0);
}

void Plus(QPainter& p, const QColor& color, QPointF c, qreal half, qreal width) {
  p.setPen(Stroke(color, width));
  p.drawLine(QPointF(c.x() - half, c.y()), QPointF(c.x() + half, c.y()));
  p.drawLine(QPointF(c.x(), c.y() - half), QPointF(c.x(), c.y() + half));
}

// A circular arrow around c: an arc of sweep degrees from start (counter-clockwise, Qt's sense)
// with a head at its end.
void ArcArrow(QPainter& p, const QColor& color, QPointF c, qreal r, qreal start, qreal sweep,
              qreal width) {
  QPainterPath arc;
  const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  arc.arcMoveTo(box, start);
  arc.arcTo(box, start, sweep);
  p.setBrush(Qt::NoBrush);
  p.setPen(Stroke(color, width));
  p.drawPath(arc);

  const qreal end = (start + sweep) * M_PI / 180.0;
  const QPointF tip(c.x() + r * std::cos(end), c.y() - r * std::sin(end));
  // Tangent in the direction of travel (screen y grows downwards).
  const qreal dir = sweep >= 0 ? 1.0 : -1.0;
  const QPointF tangent(-std::sin(end) * dir, -std::cos(end) * dir);
  const QPointF normal(tangent.y(), -tangent.x());
  const qreal size = width * 1.6;
  QPolygonF head;
  head << tip + tangent * size << tip + normal * size * 0.9 << tip - normal * size * 0.9;
  p.setPen(Stroke(color, width * 0.5));
  p.setBrush(color);
  p.drawPolygon(head);
}

void DrawAdd(QPainter& p) {
  Disc(p, QColor(0x1e, 0x74, 0xd9), QColor(0x0d, 0x4c, 0x99));
  Plus(p, kWhite, {8, 8}, 3.6, 2.0);
}

void DrawDel(QPainter& p) {
  Disc(p, QColor(0xe8, 0x59, 0x0c), QColor(0xa3, 0x3d, 0x06));
  p.setPen(Stroke(kWhite, 2.0));
  p.drawLine(QPointF(4.4, 8), QPointF(11.6, 8));
}

void DrawOk(QPainter& p) {
  Disc(p, QColor(0x2f, 0x9e, 0x44), QColor(0x1b, 0x6e, 0x2d));
  p.setPen(Stroke(kWhite, 2.0));
  p.setBrush(Qt::NoBrush);
  QPainterPath tick;
  tick.moveTo(4.6, 8.3);
  tick.lineTo(7.0, 10.7);
  tick.lineTo(11.4, 5.6);
  p.drawPath(tick);
}

void DrawKo(QPainter& p) {
  Disc(p, QColor(0xe0, 0x31, 0x31), QColor(0x9b, 0x1c, 0x1c));
  p.setPen(Stroke(kWhite, 2.0));
  p.drawLine(QPointF(5.3, 5.3), QPointF(10.7, 10.7));
  p.drawLine(QPointF(10.7, 5.3), QPointF(5.3, 10.7));
}

void DrawActu(QPainter& p) {
  Disc(p, QColor(0x0c, 0x85, 0x99), QColor(0x08, 0x5c, 0x6b));
  ArcArrow(p, kWhite, {8, 8}, 3.6, 90, -250, 1.6);
}

void DrawConflict(QPainter& p) {
  Disc(p, QColor(0xae, 0x3e, 0xc9), QColor(0x76, 0x22, 0x8c));
  p.setPen(Stroke(kWhite, 1.9));
  for (qreal x : {5.9, 10.1}) {
    p.drawLine(QPointF(x, 4.2), QPointF(x, 8.6));
    p.drawPoint(QPointF(x, 11.6));
  }
}

void DrawAlert(QPainter& p) {
  QPainterPath triangle;
  triangle.moveTo(8, 1.3);
  triangle.lineTo(15.0, 14.4);
  triangle.lineTo(1.0, 14.4);
  triangle.closeSubpath();
  p.setPen(Stroke(QColor(0xb3, 0x6b, 0x00), 1.0));
  p.setBrush(QColor(0xf5, 0x9f, 0x00));
  p.drawPath(triangle);
  p.setPen(Stroke(QColor(0x2b, 0x1d, 0x00), 1.9));
  p.drawLine(QPointF(8, 5.6), QPointF(8, 9.6));
  p.drawPoint(QPointF(8, 12.2));
}

void DrawUser(QPainter& p) {
  Disc(p, QColor(0x5c, 0x7c, 0xfa), QColor(0x36, 0x4f, 0xc7));
  p.setPen(Qt::NoPen);
  p.setBrush(kWhite);
  p.drawEllipse(QPointF(8, 6.0), 2.4, 2.4);
  QPainterPath shoulders;
  shoulders.moveTo(3.6, 12.6);
  shoulders.cubicTo(4.2, 9.0, 11.8, 9.0, 12.4, 12.6);
  shoulders.closeSubpath();
  p.drawPath(shoulders);
}

void DrawNewTask(QPainter& p) {
  QPainterPath sheet;
  sheet.moveTo(2.5, 1.0);
  sheet.lineTo(9.0, 1.0);
  sheet.lineTo(12.5, 4.5);
  sheet.lineTo(12.5, 14.5);
  sheet.lineTo(2.5, 14.5);
  sheet.closeSubpath();
  p.setPen(Stroke(QColor(0x5f, 0x6b, 0x78), 1.0));
  p.setBrush(QColor(0xf8, 0xf9, 0xfa));
  p.drawPath(sheet);
  p.setBrush(QColor(0xce, 0xd4, 0xda));
  QPainterPath fold;
  fold.moveTo(9.0, 1.0);
  fold.lineTo(9.0, 4.5);
  fold.lineTo(12.5, 4.5);
  fold.closeSubpath();
  p.drawPath(fold);
  p.setPen(Stroke(QColor(0x86, 0x8e, 0x96), 1.0));
  for (qreal y : {6.5, 8.5})
    p.drawLine(QPointF(4.5, y), QPointF(10.5, y));
  p.setPen(Stroke(QColor(0x1b, 0x6e, 0x2d), 0.9));
  p.setBrush(QColor(0x2f, 0x9e, 0x44));
  p.drawEllipse(QPointF(11.6, 11.6), 3.9, 3.9);
  Plus(p, kWhite, {11.6, 11.6}, 2.0, 1.5);
}

void DrawAnalyse(QPainter& p) {
  p.setPen(Stroke(QColor(0x9c, 0x5b, 0x0b), 2.8));
  p.drawLine(QPointF(10.3, 10.3), QPointF(14.6, 14.6));
  p.setPen(Stroke(QColor(0x3b, 0x5b, 0x84), 1.7));
  p.setBrush(QColor(0xd0, 0xeb, 0xff));
  p.drawEllipse(QPointF(6.6, 6.6), 4.9, 4.9);
  p.setPen(Stroke(kWhite, 1.1));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(3.6, 3.6, 6.0, 6.0), 100 * 16, 70 * 16);
}

void DrawSync(QPainter& p) {
  const QColor green(0x37, 0xb2, 0x4d);
  ArcArrow(p, green, {8, 8}, 5.4, 20, 140, 2.1);
  ArcArrow(p, green, {8, 8}, 5.4, 200, 140, 2.1);
}

void DrawOptions(QPainter& p) {
  QPainterPath gear;
  const int teeth = 8;
  for (int i = 0; i < teeth * 2; ++i) {
    // Alternate outer and inner radius, each held for a short arc, makes square-ish teeth.
    const qreal r = (i % 2 == 0) ? 7.2 : 5.4;
    for (int k = 0; k < 2; ++k) {
      const qreal a = (i + k * 0.999) * M_PI / teeth + M_PI / (teeth * 4);
      const QPointF pt(8 + r * std::cos(a), 8 + r * std::sin(a));
      if (i == 0 && k == 0) gear.moveTo(pt); else gear.lineTo(pt);
    }
  }
  gear.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(QPointF(8, 8), 2.3, 2.3);
  p.setPen(Stroke(QColor(0x3d, 0x48, 0x54), 0.9));
  p.setBrush(QColor(0xa5, 0xb1, 0xbd));
  p.drawPath(gear.subtracted(hole));
}

}  // namespace

ImageList MakeStateImages() {
  ImageList list;
  list.Add("ADD", MakeDrawnIcon(DrawAdd));
  list.Add("DEL", MakeDrawnIcon(DrawDel));
  list.Add("OK", MakeDrawnIcon(DrawOk));
  list.Add("ACTU", MakeDrawnIcon(DrawActu));
  list.Add("CONFLICT", MakeDrawnIcon(DrawConflict));
  list.Add("KO", MakeDrawnIcon(DrawKo));
  list.Add("ALERT", MakeDrawnIcon(DrawAlert));
  list.Add("USER", MakeDrawnIcon(DrawUser));
  return list;
}

ImageList MakeToolImages() {
  ImageList list;
  list.Add("NEWT", MakeDrawnIcon(DrawNewTask));
  list.Add("ANAL", MakeDrawnIcon(DrawAnalyse));
  list.Add("SYNC", MakeDrawnIcon(DrawSync));
  list.Add("OPTIONS", MakeDrawnIcon(DrawOptions));
  list.Add("OKS", MakeDrawnIcon(DrawOk));
  list.Add("FSYNC", MakeDrawnIcon(DrawActu));
  list.Add("CONFLICT", MakeDrawnIcon(DrawConflict));
  return list;
}

}  // namespace tandrel
