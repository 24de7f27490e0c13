// Canvas mouse events reach curve editing in canvas pixels, and the picture
// on show is the canvas with the curve over it.
#include <QtTest>

#include "base/host.h"
#include "engine/program_state.h"
#include "services/curve_edit_session.h"
#include "services/curve_editing.h"
#include "ui/canvas_view.h"
#include "ui/cursors.h"
#include "ui/points_window.h"

using namespace quorl;

namespace {

class StatusHost : public Host {
 public:
  void ShowStatus(const std::string& message) override { status = QString::fromStdString(message); }
  void ShowMessage(const std::string& text) override { messages << QString::fromStdString(text); }
  QString status;
  QStringList messages;
};

}  // namespace

class CurveWindowsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramState> state_;
  std::unique_ptr<StatusHost> host_;
  std::unique_ptr<CurveEditSession> session_;

  ParameterSet& Params() { return state_->params; }

 private slots:
  void init() {
    state_ = std::make_unique<ProgramState>();
    Params().ImageWidth = 120;
    Params().ImageHeight = 90;
    QVERIFY(state_->canvas.SetImageDimensions(Params()));
    host_ = std::make_unique<StatusHost>();
    state_->canvas.MakePictureBlack(Params(), state_->background, host_.get());
    session_ = std::make_unique<CurveEditSession>(Params(), *state_, *host_);
  }

  void canvasEventsReachCurveEditingInCanvasPixels() {
    session_->Mode = RightButtonMode::Curve;
    CurveMouseEditor editor(*session_);
    CanvasView canvas;
    QImage shown;
    CurveCanvasAdapter adapter([&shown](const QImage& image) { shown = image; }, &canvas);
    session_->SetCanvasView(&adapter);
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
                    Qt::KeyboardModifiers keys = Qt::NoModifier) {
      const QMouseEvent event(type, QPointF(at), QPointF(at), button, held, keys);
      ForwardCanvasMouse(editor, event, at);
    };
    send(QEvent::MouseButtonPress, {20, 10}, Qt::RightButton, Qt::RightButton);
    for (int x = 20; x <= 124; x += 26) send(QEvent::MouseMove, {x, 10}, Qt::NoButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, {124, 10}, Qt::RightButton, Qt::NoButton);
    QCOMPARE(state_->curves[kPathCurveSlot].Curve.GetLength(), 5);
    QVERIFY(state_->curves[kPathCurveSlot].Bezier.IsValid());

    // The picture on show is the canvas in its own colours, the curve over it.
    const Picture24& bitmap = state_->canvas.Bitmap();
    QCOMPARE(shown.size(), QSize(bitmap.Width(), bitmap.Height()));
    const std::uint8_t* corner = bitmap.Row(89) + 3 * 119;
    QCOMPARE(shown.pixel(119, 89), qRgb(corner[2], corner[1], corner[0]));

    // Ctrl on a control point rotates, with its own cursor.
    int px = 0, py = 0;
    QVERIFY(session_->Geometry().ToPixel(state_->curves[kPathCurveSlot].Curve.Points[2], px, py));
    send(QEvent::MouseButtonPress, {px, py}, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(editor.CurveDragging());
    QCOMPARE(editor.DragMode(), CurveDragMode::Rotate);
    QCOMPARE(canvas.cursor().shape(), CursorNumber(kCurveRotateCursor).shape());
    send(QEvent::MouseButtonRelease, {px, py}, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    QVERIFY(!editor.CurveDragging());
    QCOMPARE(canvas.cursor().shape(), Qt::ArrowCursor);
  }
};

QTEST_MAIN(CurveWindowsTest)
#include "curve_windows_test.moc"
