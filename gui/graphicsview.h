// The drawing area of the main window: replays the core's display list through the window's view
// mapping into a cached image and paints from it; keys and mouse change the mapping only.
#pragma once

#include <QImage>
#include <QWidget>

#include "draw/viewmapping.h"

namespace velk {
class Session;
}

namespace velk::gui {

class GraphicsView : public QWidget {
  Q_OBJECT
 public:
  explicit GraphicsView(Session& ws, QWidget* parent = nullptr);

  // The list changed (a new drawing, a cleared view port): the next paint replays it.
  void invalidate();
  const ViewMapping& mapping() const { return view_; }
  // Replays now if the cache is stale; what paintEvent shows. Public for tests and benchmarks.
  const QImage& image();
  // Replays the list into a fresh image of the given size (no cache involved).
  QImage render(QSize size);
  // Replays into the cache so far (a repaint from the cache replays nothing).
  int replays() const { return replays_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void replayInto(QImage& image, ViewMapping& view);
  void changed(bool repaint);

  Session& ws_;
  ViewMapping view_;
  ViewMouse mouse_;
  QImage cache_;
  bool stale_ = true;
  int replays_ = 0;
};

}  // namespace velk::gui
