// The Points and Path windows: filling from the parameters, slot marks and
// selection, the curve buttons, the point fields and the path generators.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTemporaryDir>
#include <cmath>

#include "curves/curve_commands.h"
#include "curves/curve_editing.h"
#include "curves/curve_edit_session.h"
#include "engine/host.h"
#include "engine/program_state.h"
#include "settings/atomic_file.h"
#include "ui/cursors.h"
#include "ui/numeric_field.h"
#include "ui/path_window.h"
#include "ui/points_window.h"
#include "ui_test_support.h"

using namespace quorl;

namespace {

class StatusHost : public Host {
 public:
  void Spammer(const std::string& message) override { status = QString::fromStdString(message); }
  void ShowMessage(const std::string& text) override { messages << QString::fromStdString(text); }
  QString status;
  QStringList messages;
};

class FileDialogs : public test::RecordingDialogs {
 public:
  QString SaveFile(QWidget*, const QString& title, const QString& folder, const QString& proposed,
                   const QString& filter, const QString& suffix) override {
    save_requests << (title + "|" + folder + "|" + proposed + "|" + filter + "|" + suffix);
    return save_answer;
  }
  bool AskYesNo(QWidget*, const QString& text) override {
    questions << text;
    return yes;
  }
  QStringList save_requests, questions;
  QString save_answer;
  bool yes = false;
};

class CountingCanvas : public CurveCanvasView {
 public:
  void ShowCanvasPicture(const Picture24&) override { ++pictures; }
  int pictures = 0;
};

}  // namespace

class CurveWindowsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramState> state_;
  std::unique_ptr<StatusHost> host_;
  std::unique_ptr<CurveEditSession> session_;
  std::unique_ptr<CurveFileDialogsAdapter> dialogs_;
  std::unique_ptr<CurveCommands> commands_;
  CountingCanvas canvas_;

  ParameterSet& Params() { return state_->params; }
  void FivePoints(int slot) {
    kCurve& curve = state_->curves[slot].Curve;
    curve.Empty();
    for (int i = 0; i < 5; ++i) curve.AddPoint(0.3 * i - 0.6, 0.1 * i);
    state_->curves.SetUpBezier(BezierKindSlot, slot, *host_);
  }

 private slots:
  void init() {
    state_ = std::make_unique<ProgramState>();
    Params().ImageWidth = 120;
    Params().ImageHeight = 90;
    QVERIFY(state_->canvas.SetImageDimensions(Params()));
    host_ = std::make_unique<StatusHost>();
    state_->canvas.MakePictureBlack(Params(), state_->background, host_.get());
    session_ = std::make_unique<CurveEditSession>(Params(), *state_, *host_);
    session_->SetCanvasView(&canvas_);
    dialogs_ = std::make_unique<CurveFileDialogsAdapter>(nullptr);
    commands_ = std::make_unique<CurveCommands>(*session_, *dialogs_);
    BindFieldSwitches(&Params());
  }
  void cleanup() { BindFieldSwitches(nullptr); }

  void pointsWindowFillsFromParametersAndMarksDefinedSlots() {
    Params().QuorlPointsXStart = -1.25;
    Params().QuorlPointsRotateYEnd = 0.5;
    Params().QuorlPointsBezierMouse = 0;  // below the bar: the bar and parameter say 1
    Params().QuorlPointsUseBezier = true;
    Params().QuorlPointsStraightPath = false;
    Params().MoveRotation = false;
    FivePoints(5);
    FivePoints(12);
    state_->curves[20].Curve.AddPoint(1, 1);  // four points or fewer: no mark
    PointsWindow window(*session_, *commands_);

    QCOMPARE(window.Field("eXstart")->text(), QString("-1.25"));
    QCOMPARE(window.Field("editRotateYEnd")->text(), QString("0.5"));
    QCOMPARE(window.Smoothing()->value(), 1);
    QCOMPARE(Params().QuorlPointsBezierMouse, 1);
    QVERIFY(window.Radio("rbUseBezier")->isChecked());
    QVERIFY(window.Radio("rbStraightRotate")->isChecked());
    QVERIFY(!window.CheckBox("cbMove")->isChecked());
    QComboBox* list = window.SlotList();
    QCOMPARE(list->count(), CurveCount);
    QCOMPARE(list->itemText(5), QString::fromUtf8("\u00BB Values - Bumps"));
    QCOMPARE(list->itemText(12), QString::fromUtf8("\u00BB Function - Lissa delta"));
    QCOMPARE(list->itemText(20), QString("Colors - End green"));
    QCOMPARE(list->currentIndex(), 12);
    QCOMPARE(host_->status, QString());

    // The slot list and the six buttons wait for "Set curve".
    QVERIFY(!list->isEnabled());
    QVERIFY(!window.Button("btnSaveBezier")->isEnabled());
    window.Radio("rbDrawMultiplierBezier")->click();
    QVERIFY(list->isEnabled());
    QVERIFY(window.Button("btnSaveBezier")->isEnabled());
    QVERIFY(session_->CurveMode());
    window.Radio("rbSetPathPoints")->click();
    QVERIFY(!list->isEnabled());
    QCOMPARE(session_->Mode, RightButtonMode::PathPoints);
    QCOMPARE(host_->status, QString("Right clicking on the image will set the start and end points for the path"));
  }

  void choosingASlotShowsItAtOnceAndResetUnmarksIt() {
    FivePoints(7);
    PointsWindow window(*session_, *commands_);
    window.SelectRightButtonMode(RightButtonMode::Curve);
    window.SlotList()->setCurrentIndex(0);  // Init left slot 7 selected
    QCOMPARE(session_->SelectedSlot, 0);
    const int before = canvas_.pictures;
    window.SlotList()->setCurrentIndex(7);
    QCOMPARE(session_->SelectedSlot, 7);
    QVERIFY(canvas_.pictures > before);
    QCOMPARE(host_->status, QString("Finished drawing \"Values - Grain\" bezier"));

    window.Button("btnClearMultiplier")->click();
    QCOMPARE(state_->curves[7].Curve.GetLength(), 0);
    QCOMPARE(window.SlotList()->itemText(7), QString("Values - Grain"));
    commands_->Undocurveedit1Click();
    QCOMPARE(state_->curves[7].Curve.GetLength(), 5);
    QCOMPARE(window.SlotList()->itemText(7), QString::fromUtf8("\u00BB Values - Grain"));
  }

  void pointFieldsTakePlacedPointsAndResets() {
    PointsWindow window(*session_, *commands_);
    window.ShowPlacedPoint(PointPair::Path, true, "1.500", "-0.250");
    QCOMPARE(Params().QuorlPointsXStart, 1.5);
    QCOMPARE(Params().QuorlPointsYStart, -0.25);
    QVERIFY(window.Radio("rbPathEnd")->isChecked());
    QVERIFY(!session_->NextPathPointIsA);

    window.Field("eXend")->setText("3");
    window.Button("btnResetPath")->click();
    QCOMPARE(Params().QuorlPointsXStart, 0.0);
    QCOMPARE(Params().QuorlPointsYStart, 0.0);
    QCOMPARE(Params().QuorlPointsXEnd, 0.0);
    QCOMPARE(Params().QuorlPointsYEnd, 0.0);
    QCOMPARE(Params().QuorlPointsRotateXStart, -2.0);

    // Partial input keeps the value.
    window.Field("editRotateXStart")->setText("-");
    QCOMPARE(Params().QuorlPointsRotateXStart, -2.0);
    window.Button("btnResetRotate")->click();
    QCOMPARE(Params().QuorlPointsRotateXStart, 0.0);
  }

  void switchesStoreWhatTheControlsShow() {
    Params().MoveRotation = true;
    PointsWindow window(*session_, *commands_);
    window.CheckBox("cbMove")->click();
    QCOMPARE(Params().MoveRotation, false);
    QCOMPARE(host_->status, QString("Point A will be the only center of rotation"));
    window.CheckBox("cbMove")->click();
    QCOMPARE(Params().MoveRotation, true);

    window.Smoothing()->setValue(40);
    QCOMPARE(Params().QuorlPointsBezierMouse, 40);
    QCOMPARE(window.findChild<QLabel*>("labelBezierMouse")->text(), QString("40"));

    window.Radio("rbFollowRotate")->click();
    QVERIFY(Params().QuorlPointsFollowRotate);
    QVERIFY(!Params().QuorlPointsStraightRotate);
    window.CheckBox("cbUseStartAsEnd")->click();
    QVERIFY(Params().QuorlPointsUseStartAsEnd);
    QCOMPARE(host_->status, QString("Drawing will use the start curve for the end curve also"));

    window.SelectRightButtonMode(RightButtonMode::Curve);
    window.SetAnimationPathMode(true);
    QVERIFY(!window.Radio("rbSetRotationPoints")->isEnabled());
    QVERIFY(!window.SlotList()->isEnabled());
    QVERIFY(!window.Button("btnClearMultiplier")->isEnabled());
    window.SetAnimationPathMode(false);
    QVERIFY(window.Radio("rbSetRotationPoints")->isEnabled());
    QVERIFY(window.SlotList()->isEnabled());
    QVERIFY(window.Button("btnClearMultiplier")->isEnabled());

    window.Button1Click();
    QCOMPARE(window.height(), ToolWindow::kFoldedHeight);
    window.Button1Click();
    QCOMPARE(window.height(), PointsWindow::kFullHeight);
  }

  void saveButtonAsksBeforeOverwriting() {
    QTemporaryDir dir;
    FileDialogs dialogs;
    const QString file = dir.filePath("Values_-_Radius.curve");
    QVERIFY(WriteFileAtomically(file.toStdString(), "old"));
    Params().SaveDir = dir.path().toStdString() + "/";
    FivePoints(3);
    PointsWindow window(*session_, *commands_);
    window.SelectRightButtonMode(RightButtonMode::Curve);
    window.SlotList()->setCurrentIndex(3);

    dialogs.save_answer = file;
    window.Button("btnSaveBezier")->click();
    QCOMPARE(dialogs.save_requests.value(0), "Save your text or word file|" + dir.path() +
                                                 "/|Values_-_Radius|Quorl path file (*.curve)|curve");
    QCOMPARE(dialogs.questions.value(0), "Do you want to overwrite \n" + file + "?");
    std::string bytes;
    QVERIFY(ReadWholeFile(file.toStdString(), bytes));
    QCOMPARE(QString::fromStdString(bytes), QString("old"));
    QCOMPARE(host_->status, QString("Curve not saved."));

    dialogs.yes = true;
    window.Button("btnSaveBezier")->click();
    QVERIFY(ReadWholeFile(file.toStdString(), bytes));
    QCOMPARE(bytes, CurveFileText(state_->curves[3].Curve.Points));
  }

  void pathWindowShowsOneTabAndMakesFromTheFieldTexts() {
    Params().PathTabIndex = 1;
    PathWindow path(*session_);
    QCOMPARE(path.Tabs()->currentIndex(), 1);
    QVERIFY(path.Panel(1)->isVisibleTo(&path));
    QVERIFY(!path.Panel(0)->isVisibleTo(&path));
    QCOMPARE(path.Field("editPathCircleRadius")->text(), QString("1"));
    QCOMPARE(path.Field("editPathNumberOfPathSteps")->text(), QString("500"));
    path.Tabs()->setCurrentIndex(2);
    QCOMPARE(Params().PathTabIndex, 2);
    QVERIFY(path.Panel(2)->isVisibleTo(&path));
    QVERIFY(!path.Panel(1)->isVisibleTo(&path));

    // No slot selected yet.
    test::RecordingDialogs boxes;
    path.MakeButton(1)->click();
    QCOMPARE(host_->messages.value(0),
             QString("No target curve selected, please select \"Set curve\" in the points form"));

    session_->Mode = RightButtonMode::Curve;
    session_->SelectedSlot = 0;
    path.Field("editPathCircleRadius")->setText("1.5");
    path.Field("editPathNumberOfPathSteps")->setText("9999");  // clamped to 3000
    QCOMPARE(path.Field("editPathNumberOfPathSteps")->text(), QString("3000"));
    path.CheckBox("cbPathCircleClockwise")->click();  // now counter-clockwise
    QVERIFY(!Params().PathCircleClockwise);
    path.MakeButton(1)->click();
    const kCurve& curve = state_->curves[0].Curve;
    QCOMPARE(curve.GetLength(), 3001);
    QCOMPARE(curve.Points[0].X, 1.5);
    QVERIFY(curve.Points[1].Y > 0);
    QCOMPARE(host_->status, QString("Finished drawing \"Main - Path curve\" bezier"));

    // A shape field that is not a number stops the generation.
    path.Field("editPathLissajousOmega1")->setText("-");
    path.MakeButton(2)->click();
    QCOMPARE(host_->messages.last(),
             QString("Please fill in alpha, beta, delta and omega with numbers. e.g 1, 0.5, -0.3"));
    QCOMPARE(curve.GetLength(), 3001);

    path.Button1Click();
    QCOMPARE(path.height(), ToolWindow::kFoldedHeight);
    path.Button1Click();
    QCOMPARE(path.height(), PathWindow::kFullHeight);
  }

  void canvasEventsReachCurveEditingInCanvasPixels() {
    session_->Mode = RightButtonMode::Curve;
    CurveMouseEditor editor(*session_);
    QWidget canvas;
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
    QCOMPARE(state_->curves[0].Curve.GetLength(), 5);
    QVERIFY(state_->curves[0].Bezier.IsValid());

    // The picture on show is the canvas in its own colours, the curve over it.
    const Picture24& bitmap = state_->canvas.Bitmap();
    QCOMPARE(shown.size(), QSize(bitmap.Width(), bitmap.Height()));
    const std::uint8_t* corner = bitmap.Row(89) + 3 * 119;
    QCOMPARE(shown.pixel(119, 89), qRgb(corner[2], corner[1], corner[0]));

    // Ctrl on a control point rotates, with its own cursor.
    int px = 0, py = 0;
    QVERIFY(session_->Geometry().ToPixel(state_->curves[0].Curve.Points[2], px, py));
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
