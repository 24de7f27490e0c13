// Zooming the canvas keeps the picture point under the pointer where it is,
// fitting uses the whole view, panning stops at the picture's edges, and
// the curve control squares stay about 9 screen pixels wide at every zoom.
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "support/ui_test_support.h"
#include "ui/canvas_layout.h"
#include "ui/canvas_view.h"
#include "ui/main_window.h"
#include "ui/points_window.h"

using namespace quorl;

namespace {

// The picture point under `anchor` (viewport coordinates).
QPointF PicturePointAt(MainWindow& window, QPoint anchor) {
  QScrollArea* box = window.ScrollBox1();
  const QPointF content(anchor.x() + box->horizontalScrollBar()->value(),
                        anchor.y() + box->verticalScrollBar()->value());
  const double factor = double(window.Image1()->width()) / window.Image1()->Picture().width();
  return (content - QPointF(window.Image1()->pos())) / factor;
}

void Drag(QWidget* viewport, Qt::MouseButton button, QPoint from, QPoint to) {
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton which, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(viewport->mapToGlobal(at)), which, held, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
  };
  send(QEvent::MouseButtonPress, from, button, button);
  send(QEvent::MouseMove, to, Qt::NoButton, button);
  send(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

// Records the areas a widget is asked to paint.
class PaintAreas : public QObject {
 public:
  explicit PaintAreas(QWidget* widget) { widget->installEventFilter(this); }
  QRegion painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

}  // namespace

class CanvasZoomTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir home_;
  test::RecordingDialogs dialogs_;

  // A shown window of a known size holding a 400 x 300 picture.
  std::unique_ptr<MainWindow> MakeWindow() {
    test::UseSettingsFolder(home_.path());
    auto window = std::make_unique<MainWindow>();
    window->resize(700, 560);
    window->show();
    QImage picture(400, 300, QImage::Format_RGB888);
    picture.fill(Qt::darkGreen);
    window->ShowCanvasPicture(picture);
    QCoreApplication::processEvents();
    window->ZoomToActualSize();
    return window;
  }

 private slots:
  void changedRowsArePaintedAloneUnlessTheViewShowedMore() {
    for (const int scale : {1, 2}) {
      CanvasView view;
      view.resize(200 * scale, 100 * scale);
      QImage picture(200, 100, QImage::Format_RGB888);
      picture.fill(Qt::black);
      view.SetPicture(picture);
      view.show();
      QVERIFY(QTest::qWaitForWindowExposed(&view));
      PaintAreas areas(&view);

      // Rows 40 to 49 turn red: only their band of the view is painted,
      // and it shows them.
      view.LetGoOfPicture();
      for (int y = 40; y < 50; ++y)
        for (int x = 0; x < 200; ++x) picture.setPixelColor(x, y, Qt::red);
      view.SetPictureRows(picture, 40, 50);
      QTRY_VERIFY(!areas.painted.isEmpty());
      const QRect band = areas.painted.boundingRect();
      QVERIFY2(band.top() >= 40 * scale - 3 && band.bottom() <= 50 * scale + 3,
               qPrintable(
                   QString("scale %1: painted rows %2 to %3").arg(scale).arg(band.top()).arg(band.bottom())));
      QCOMPARE(band.width(), view.width());
      const QImage shown = view.grab().toImage();
      QCOMPARE(shown.pixelColor(10, 45 * scale), QColor(Qt::red));
      QCOMPARE(shown.pixelColor(10, 20 * scale), QColor(Qt::black));

      // With control squares over it, the whole view is painted again, so
      // the squares go.
      view.SetControlSquares({ControlSquare{50, 80, 255, 0}});
      QCoreApplication::processEvents();
      areas.painted = QRegion();
      view.LetGoOfPicture();
      view.SetPictureRows(picture, 10, 11);
      QTRY_VERIFY(!areas.painted.isEmpty());
      QCOMPARE(areas.painted.boundingRect(), view.rect());
    }
  }

  void zoomKeepsThePointUnderThePointer() {
    auto window = MakeWindow();
    QWidget* viewport = window->ScrollBox1()->viewport();
    const QPoint anchors[] = {QPoint(120, 90), viewport->rect().center(),
                              QPoint(10, viewport->height() - 12)};
    int reached = 0;
    for (const QPoint anchor : anchors) {
      // From 3x about the middle of the picture, in and out: the point under
      // the anchor moves by less than one screen pixel each time.
      window->ZoomToActualSize();
      window->ZoomAbout(3.0, viewport->rect().center());
      for (const double ratio : {1.25, 1.6, 0.8, 0.5, 2.0, 0.25}) {
        const QPointF before = PicturePointAt(*window, anchor);
        window->ZoomAbout(ratio, anchor);
        const double factor = double(window->Image1()->width()) / 400;
        const QPointF after = PicturePointAt(*window, anchor);
        // Where the point would need the view to scroll past the picture's
        // edge (or the picture is smaller than the view and centred), the
        // edge wins; everywhere else the point stays.
        QScrollBar* horizontal = window->ScrollBox1()->horizontalScrollBar();
        QScrollBar* vertical = window->ScrollBox1()->verticalScrollBar();
        const QPoint at = window->Image1()->pos();
        const double need_x = before.x() * factor + at.x() - anchor.x();
        const double need_y = before.y() * factor + at.y() - anchor.y();
        const bool reachable = need_x >= horizontal->minimum() && need_x <= horizontal->maximum() &&
                               need_y >= vertical->minimum() && need_y <= vertical->maximum() &&
                               horizontal->maximum() > 0 && vertical->maximum() > 0;
        reached += reachable;
        if (reachable) {
          QVERIFY2(std::abs(after.x() - before.x()) * factor <= 1.0 &&
                       std::abs(after.y() - before.y()) * factor <= 1.0,
                   qPrintable(QStringLiteral("ratio %1: (%2, %3) moved to (%4, %5)")
                                  .arg(ratio)
                                  .arg(before.x())
                                  .arg(before.y())
                                  .arg(after.x())
                                  .arg(after.y())));
        }
      }
    }
    // Most of the zooms above keep their point; the test is not vacuous.
    QVERIFY2(reached >= 9, qPrintable(QString::number(reached)));
    // The zoom stops at its limits.
    for (int i = 0; i < 40; ++i) window->ZoomAbout(0.5, QPoint(50, 50));
    QCOMPARE(window->Image1()->width(), int(std::floor(400 * kMinZoom)));
  }

  void fitUsesTheWholeViewAndActualSizeIsOneToOne() {
    auto window = MakeWindow();
    QWidget* viewport = window->ScrollBox1()->viewport();
    window->ZoomToWholeView();
    QCoreApplication::processEvents();
    const QRect image = window->Image1()->geometry();
    QVERIFY(window->ScrollBox1()->widget()->width() <= viewport->width() + 1);
    // One side touches the view's edges, the other fits inside.
    const bool width_fills = std::abs(image.width() - viewport->width()) <= 1;
    const bool height_fills = std::abs(image.height() - viewport->height()) <= 1;
    QVERIFY2(width_fills || height_fills, qPrintable(QStringLiteral("%1 x %2 in %3 x %4")
                                                         .arg(image.width())
                                                         .arg(image.height())
                                                         .arg(viewport->width())
                                                         .arg(viewport->height())));
    QVERIFY(image.width() <= viewport->width() && image.height() <= viewport->height());
    window->ZoomToActualSize();
    QCOMPARE(window->Image1()->size(), QSize(400, 300));
  }

  void panningMovesWithTheDragAndStopsAtTheEdges() {
    auto window = MakeWindow();
    window->ZoomAbout(4.0, QPoint(100, 100));  // 1600 x 1200, larger than the view
    QScrollBar* horizontal = window->ScrollBox1()->horizontalScrollBar();
    QScrollBar* vertical = window->ScrollBox1()->verticalScrollBar();
    QWidget* viewport = window->ScrollBox1()->viewport();
    horizontal->setValue(300);
    vertical->setValue(200);
    Drag(viewport, Qt::MiddleButton, QPoint(200, 200), QPoint(150, 170));
    QCOMPARE(horizontal->value(), 350);
    QCOMPARE(vertical->value(), 230);
    // Far past the edges: the view stops at the picture's corners.
    Drag(viewport, Qt::MiddleButton, QPoint(100, 100), QPoint(100 + 5000, 100 + 5000));
    QCOMPARE(horizontal->value(), 0);
    QCOMPARE(vertical->value(), 0);
    Drag(viewport, Qt::MiddleButton, QPoint(300, 300), QPoint(300 - 5000, 300 - 5000));
    QCOMPARE(horizontal->value(), horizontal->maximum());
    QCOMPARE(vertical->value(), vertical->maximum());
    // The last column of the picture is then at the view's right edge.
    const int right = window->Image1()->geometry().right() - horizontal->value();
    QVERIFY(std::abs(right - (viewport->width() - 1)) <= 1);
    // The left button alone edits curves; it does not pan.
    horizontal->setValue(100);
    Drag(viewport, Qt::LeftButton, QPoint(200, 200), QPoint(100, 200));
    QCOMPARE(horizontal->value(), 100);
  }

  void controlSquaresStayAboutNineScreenPixels() {
    // The square is 2 x half + 1 picture pixels; on screen it stays near 9
    // pixels as long as one picture pixel is smaller than that.
    for (const double factor : {0.25, 0.5, 1.0, 1.5, 2.0, 3.0}) {
      const double side = (2 * ControlHalfForZoom(factor) + 1) * factor;
      QVERIFY2(side >= 9 - 2 * factor && side <= 9 + 2 * factor, qPrintable(QString::number(factor)));
    }
    QCOMPARE(ControlHalfForZoom(1.0), 4);
  }

  void farInTheViewPaintsNineByNineSquaresOverThePicture() {
    auto window = MakeWindow();
    CanvasView* canvas = window->Image1();
    // About 6x: one picture pixel is 6 screen pixels.
    window->ZoomAbout(6.0, QPoint(0, 0));
    QVERIFY(std::abs(window->ZoomFactor() - 6.0) < 1e-9);
    QVERIFY(window->CurveSession().ControlSquaresOnTop);
    window->Action("DrawMultiplierBezier1")->trigger();
    window->Points()->SlotList()->setCurrentIndex(3);
    // Five points (the press takes none), 30 picture pixels apart.
    const QList<QPoint> stroke{{63, 63}, {243, 63}, {423, 63}, {603, 63}, {783, 63}, {963, 63}};
    test::SendMouse(canvas, QEvent::MouseButtonPress, stroke.first(), Qt::RightButton, Qt::RightButton);
    for (qsizetype i = 1; i < stroke.size(); ++i)
      test::SendMouse(canvas, QEvent::MouseMove, stroke[i], Qt::NoButton, Qt::RightButton);
    test::SendMouse(canvas, QEvent::MouseButtonRelease, stroke.last(), Qt::RightButton, Qt::NoButton);
    QCOMPARE(window->State().curves[3].Curve.GetLength(), 5);

    const std::vector<ControlSquare> squares = canvas->ControlSquares();
    QCOMPARE(squares.size(), std::size_t{5});
    // The first square blue; the picture itself carries no square.
    QCOMPARE(squares.front().blue, std::uint8_t{255});
    QCOMPARE(squares.front().red, std::uint8_t{0});
    const ControlSquare& first = squares.front();
    QVERIFY(canvas->Picture().pixel(first.x, first.y) != qRgb(0, 0, 255));
    QVERIFY(canvas->Picture().pixel(first.x + 2, first.y) != qRgb(255, 255, 255));

    // On screen: 9 x 9 pixels, a white ring around blue, centred on the
    // picture pixel.
    const int cx = first.x * 6 + 3;
    const int cy = first.y * 6 + 3;
    const QImage shown = canvas->grab(QRect(cx - 8, cy - 8, 17, 17)).toImage();
    QCOMPARE(shown.pixel(8, 8), qRgb(0, 0, 255));
    QCOMPARE(shown.pixel(8 - 3, 8 + 3), qRgb(0, 0, 255));
    for (int d = -4; d <= 4; ++d) {
      QCOMPARE(shown.pixel(8 + d, 8 - 4), qRgb(255, 255, 255));
      QCOMPARE(shown.pixel(8 + 4, 8 + d), qRgb(255, 255, 255));
    }
    QVERIFY(shown.pixel(8 + 5, 8) != qRgb(255, 255, 255));
    QVERIFY(shown.pixel(8, 8 - 5) != qRgb(255, 255, 255));

    // A click picks the point within the picture pixels the square touches.
    const ControlPixelMap& map = window->CurveSession().ControlPixels();
    QCOMPARE(map.At(first.x, first.y), 0);
    QCOMPARE(map.At(first.x + 1, first.y), 0);
    QCOMPARE(map.At(first.x + 2, first.y), kNoControlPoint);

    // Zoomed out below 3x, the squares are painted into the shown picture
    // again, at that zoom's size.
    window->ZoomAbout(1.0 / 3.0, QPoint(0, 0));
    QVERIFY(!window->CurveSession().ControlSquaresOnTop);
    QVERIFY(canvas->ControlSquares().empty());
    QCOMPARE(canvas->Picture().pixel(first.x, first.y), qRgb(0, 0, 255));
    const int half = ControlHalfForZoom(window->ZoomFactor());
    QCOMPARE(canvas->Picture().pixel(first.x + half, first.y), qRgb(255, 255, 255));
    // And back in: over the picture once more.
    window->ZoomAbout(3.0, QPoint(0, 0));
    QCOMPARE(canvas->ControlSquares().size(), std::size_t{5});
    QVERIFY(canvas->Picture().pixel(first.x, first.y) != qRgb(0, 0, 255));

    // A new picture takes the squares away.
    window->Action("Clear1")->trigger();
    QVERIFY(canvas->ControlSquares().empty());
  }
};

QTEST_MAIN(CanvasZoomTest)
#include "canvas_zoom_test.moc"
