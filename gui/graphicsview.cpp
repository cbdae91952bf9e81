#include "gui/graphicsview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "draw/displaylist.h"
#include "graphics/output.h"
#include "gui/paintercanvas.h"
#include "session/session.h"

namespace velk::gui {

GraphicsView::GraphicsView(Session& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
  setMinimumSize(160, 120);
}

void GraphicsView::invalidate() {
  stale_ = true;
  update();
}

void GraphicsView::changed(bool repaint) {
  if (repaint) invalidate();
}

void GraphicsView::replayInto(QImage& image, ViewMapping& view) {
  const ReplayStyle style = ScreenReplayStyle(ws_.config);
  image.fill(rgbColor(style.background));
  QPainter painter(&image);
  PainterCanvas canvas(painter);
  view.follow(ws_.display);
  view.fitClient(image.width(), image.height());
  if (Replay(ws_.display, view, canvas, style) == ReplayStatus::DegenerateWindow) ws_.abort = true;
}

const QImage& GraphicsView::image() {
  const QSize want = size() * devicePixelRatioF();
  if (stale_ || cache_.size() != want) {
    if (cache_.size() != want) cache_ = QImage(want, QImage::Format_RGB32);
    cache_.setDevicePixelRatio(1);
    replayInto(cache_, view_);
    ++replays_;
    cache_.setDevicePixelRatio(devicePixelRatioF());
    stale_ = false;
  }
  return cache_;
}

QImage GraphicsView::render(QSize size) {
  QImage img(size, QImage::Format_RGB32);
  ViewMapping view = view_;
  replayInto(img, view);
  return img;
}

void GraphicsView::paintEvent(QPaintEvent*) {
  const QImage& img = image();
  QPainter p(this);
  p.drawImage(0, 0, img);
  if (mouse_.bandActive) {
    // The rubber band: an outline that inverts what lies under it.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    const qreal r = devicePixelRatioF();
    p.drawRect(QRectF(QPointF(mouse_.startX / r, mouse_.startY / r), QPointF(mouse_.endX / r, mouse_.endY / r)));
  }
}

void GraphicsView::resizeEvent(QResizeEvent*) { stale_ = true; }

void GraphicsView::keyPressEvent(QKeyEvent* e) {
  ViewKey key = ViewKey::Other;
  switch (e->key()) {
    case Qt::Key_Escape:
      key = ViewKey::Escape;
      break;
    case Qt::Key_F5:
      key = ViewKey::F5;
      break;
    case Qt::Key_Up:
      key = ViewKey::Up;
      break;
    case Qt::Key_Down:
      key = ViewKey::Down;
      break;
    case Qt::Key_PageUp:
      key = ViewKey::PageUp;
      break;
    case Qt::Key_PageDown:
      key = ViewKey::PageDown;
      break;
    case Qt::Key_Left:
      key = ViewKey::Left;
      break;
    case Qt::Key_Right:
      key = ViewKey::Right;
      break;
    case Qt::Key_Plus:
      key = ViewKey::Plus;
      break;
    case Qt::Key_Minus:
      key = ViewKey::Minus;
      break;
    default:
      break;
  }
  if (key == ViewKey::Other) {
    QWidget::keyPressEvent(e);
    return;
  }
  view_.follow(ws_.display);
  changed(view_.applyKey(key, ws_.config.panFactor, ws_.config.zoomFactor));
}

static QPoint devicePos(const QWidget& w, const QMouseEvent* e) {
  const qreal r = w.devicePixelRatioF();
  return QPoint(static_cast<int>(e->position().x() * r), static_cast<int>(e->position().y() * r));
}

void GraphicsView::mousePressEvent(QMouseEvent* e) {
  const QPoint p = devicePos(*this, e);
  view_.follow(ws_.display);
  if (e->button() == Qt::RightButton) {
    changed(mouse_.rightDown(view_));
  } else if (e->button() == Qt::LeftButton) {
    mouse_.leftDown(p.x(), p.y());
    update();
  }
}

void GraphicsView::mouseMoveEvent(QMouseEvent* e) {
  if (!mouse_.bandActive) return;
  const QPoint p = devicePos(*this, e);
  mouse_.move(p.x(), p.y());
  update();
}

void GraphicsView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !mouse_.bandActive) return;
  const QPoint p = devicePos(*this, e);
  const bool zoomed = mouse_.leftUp(view_, p.x(), p.y());
  changed(zoomed);
  update();
}

void GraphicsView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  view_.follow(ws_.display);
  mouse_.bandActive = false;
  changed(mouse_.doubleClick(view_));
}

}  // namespace velk::gui
