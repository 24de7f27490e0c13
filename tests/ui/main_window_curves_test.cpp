// The main window with curve editing wired in: strokes on the canvas, the
// Edit menu, curves loaded with a settings file, and a picture drawn with
// curves against `quorl render`.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "curves/curve_file_names.h"
#include "engine/program_state.h"
#include "services/curve_edit_session.h"
#include "support/ui_test_support.h"
#include "ui/canvas_view.h"
#include "ui/main_window.h"
#include "ui/numeric_field.h"
#include "ui/points_window.h"

using namespace quorl;
using quorl::test::RecordingDialogs;
using quorl::test::SendMouse;

namespace {

// A right-button stroke: pressed at the first point, dragged through the
// others, released at the last.
void RightStroke(QWidget* canvas, const QList<QPoint>& path) {
  SendMouse(canvas, QEvent::MouseButtonPress, path.first(), Qt::RightButton, Qt::RightButton);
  for (qsizetype i = 1; i < path.size(); ++i)
    SendMouse(canvas, QEvent::MouseMove, path[i], Qt::NoButton, Qt::RightButton);
  SendMouse(canvas, QEvent::MouseButtonRelease, path.last(), Qt::RightButton, Qt::NoButton);
}

// The slot's multiplier half way through a run.
double MidRunMultiplier(MainWindow& window, int slot) {
  ProgramState& state = window.State();
  state.curves.ReadSlotMultipliers(state.params, state.params.Steps / 2, false);
  return state.curves[slot].Multiplier;
}

bool Marked(const QComboBox* list, int slot) {
  return list->itemText(slot).startsWith(QString(QChar(0xBB)) + ' ');
}

void WriteCurveFile(const QString& path, double y) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  for (int i = 0; i < 6; ++i)
    file.write(QByteArray::number(0.3 * i - 0.8) + "\r\n" + QByteArray::number(y + 0.1 * i) + "\r\n");
}

QImage Decoded(const QString& png) {
  return QImage(png).convertToFormat(QImage::Format_RGB888);
}

QString Render(const QString& settings, const QString& out, const QStringList& extra = {}) {
  QProcess render;
  render.start(QStringLiteral(QUORL_BINARY), QStringList{"render", settings, "-o", out} + extra);
  if (!render.waitForFinished(120000)) return "render did not finish";
  if (render.exitCode() != 0) return QString::fromUtf8(render.readAllStandardError());
  return {};
}

}  // namespace

class MainWindowCurvesTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir home_;

 private slots:
  void initTestCase() {
    QVERIFY(home_.isValid());
    quorl::test::UseSettingsFolder(home_.path());
  }
  void init() { QFile::remove(home_.filePath("quorl.ini")); }

  void strokeMakesTheSelectedSlotsCurveAndUndoRestores() {
    MainWindow window;
    PointsWindow* points = window.Points();
    CanvasView* canvas = window.Image1();
    QCOMPARE(window.StatusText(), QString("Hello"));

    // Without curve mode a stroke takes no points.
    RightStroke(canvas, {{100, 100}, {200, 150}, {300, 200}, {400, 250}, {500, 300}, {600, 350}});
    QCOMPARE(window.State().curves[kPathCurveSlot].Curve.GetLength(), 0);

    window.Action("DrawMultiplierBezier1")->trigger();
    QVERIFY(points->Radio("rbDrawMultiplierBezier")->isChecked());
    QVERIFY(points->SlotList()->isEnabled());
    QCOMPARE(window.StatusText(),
             QString("Drawing with the right mouse button on the image will set the selected curve"));
    points->SlotList()->setCurrentIndex(3);  // the user picks "Values - Radius"
    QCOMPARE(window.CurveSession().SelectedSlot, 3);

    // Four points (the press itself takes none): no effect yet.
    RightStroke(canvas, {{100, 400}, {200, 300}, {300, 500}, {400, 350}, {500, 450}});
    QCOMPARE(window.State().curves[kRadiusSlot].Curve.GetLength(), 4);
    QCOMPARE(MidRunMultiplier(window, 3), 1.0);

    // Five points: the slot scales the radius.
    const QList<QPoint> stroke{{100, 400}, {200, 200}, {300, 300}, {400, 150}, {500, 250}, {650, 120}};
    RightStroke(canvas, stroke);
    QCOMPARE(window.State().curves[kRadiusSlot].Curve.GetLength(), 5);
    QVERIFY(MidRunMultiplier(window, 3) != 1.0);
    QVERIFY(Marked(points->SlotList(), 3));
    QCOMPARE(window.StatusText(), QString("Finished drawing \"Values - Radius\" bezier"));
    // The control points are on show: the first blue, the last reddest.
    const QImage shown = canvas->Picture();
    QCOMPARE(shown.pixel(stroke[1]), qRgb(0, 0, 255));
    QCOMPARE(shown.pixel(stroke.last()), qRgb(204, 0, 51));
    // ... on the picture shown only, never in the canvas bitmap.
    QCOMPARE(window.CanvasPictureCopy().pixel(stroke.last()), qRgb(255, 255, 255));

    // Undo walks the recipe history, in which each stroke is one step.
    window.Action("Undocurveedit1")->trigger();
    QCOMPARE(window.State().curves[kRadiusSlot].Curve.GetLength(), 4);
    QCOMPARE(MidRunMultiplier(window, 3), 1.0);
    window.Action("Redo1")->trigger();
    QCOMPARE(window.State().curves[kRadiusSlot].Curve.GetLength(), 5);

    // Clear takes the curve off display; undo still takes the stroke back.
    window.Action("Clear1")->trigger();
    window.Action("Undocurveedit1")->trigger();
    QCOMPARE(window.State().curves[kRadiusSlot].Curve.GetLength(), 4);
  }

  void openIniMarksTheLoadedSlotsAndKeepsTheSelection() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    const QString saved = folder.filePath("quorl20240131_14_05_09__123.ini");
    QVERIFY(quorl::test::WriteStyleFile(ParameterSet(), "sine", saved));
    for (int slot : {0, 7})
      WriteCurveFile(QString::fromStdString(SettingsCurveFileName(saved.toStdString(), slot)), 0.2);

    MainWindow window;
    PointsWindow* points = window.Points();
    window.Action("DrawMultiplierBezier1")->trigger();
    points->SlotList()->setCurrentIndex(12);
    RightStroke(window.Image1(), {{100, 100}, {200, 150}, {300, 100}, {400, 150}, {500, 100}, {600, 150}});
    QVERIFY(Marked(points->SlotList(), 12));
    // Refilling the Points window marks the old curve of slot 12 again; that
    // must not take the selection away from slot 4.
    points->SlotList()->setCurrentIndex(4);
    RightStroke(window.Image1(), {{100, 300}, {200, 350}, {300, 300}, {400, 350}, {500, 300}, {600, 350}});
    QVERIFY(window.Image1()->Picture() != window.CanvasPictureCopy());  // slot 4's curve on show

    dialogs.file_answer = saved;
    window.Action("Openinifromfile1")->trigger();
    for (int slot = 0; slot < kCurveCount; ++slot)
      QCOMPARE(Marked(points->SlotList(), slot), slot == 0 || slot == 7);
    QCOMPARE(points->SlotList()->currentIndex(), 4);
    QCOMPARE(window.CurveSession().SelectedSlot, 4);
    QVERIFY(!window.State().curves.UseForcedCurveIndex);
    QCOMPARE(window.State().curves[kPathCurveSlot].Curve.GetLength(), 6);
    QCOMPARE(window.State().curves[kAngleSlot].Curve.GetLength(), 0);
    // The reset took the curve off the canvas.
    QCOMPARE(window.Image1()->Picture(), window.CanvasPictureCopy());
    QVERIFY(MidRunMultiplier(window, 7) != 1.0);
    // The curve replaced by the load comes back with undo.
    points->SlotList()->setCurrentIndex(12);
    window.Action("Undocurveedit1")->trigger();
    QCOMPARE(window.State().curves[kLissaDeltaSlot].Curve.GetLength(), 5);
    QVERIFY(dialogs.messages.isEmpty());
  }

  void pictureWithCurvesEqualsTheRenderOfItsSavedSet() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    MainWindow window;
    ParameterSet& p = window.Parameters();
    p.ImageWidth = 220;
    p.ImageHeight = 160;
    p.Steps = 300;
    p.StartBumps = 3;
    p.EndBumps = 7;
    p.StartGrain = p.EndGrain = 20;
    window.Layout().SaveDir = folder.path().toStdString() + "/";
    window.Action("Clear1")->trigger();  // the canvas takes the new size
    QCOMPARE(window.Image1()->Picture().size(), QSize(220, 160));

    PointsWindow* points = window.Points();
    points->Radio("rbUseBezier")->click();
    QVERIFY(p.QuorlPointsUseBezier);
    window.Action("DrawMultiplierBezier1")->trigger();
    RightStroke(window.Image1(),
                {{15, 80}, {50, 35}, {95, 25}, {135, 60}, {165, 110}, {205, 135}, {210, 60}});
    points->SlotList()->setCurrentIndex(3);
    RightStroke(window.Image1(), {{5, 100}, {40, 20}, {80, 140}, {120, 30}, {160, 120}, {200, 50}});
    QCOMPARE(window.State().curves[kPathCurveSlot].Curve.GetLength(), 6);
    QCOMPARE(window.State().curves[kRadiusSlot].Curve.GetLength(), 5);

    window.Action("Draw1")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!window.RunInProgress(), 60000);
    QCOMPARE(window.StatusText(), QString("Finished"));
    const QImage drawn = window.Image1()->Picture().convertToFormat(QImage::Format_RGB888);

    window.Action("Savequorlpicture2")->trigger();
    QVERIFY(window.StatusText().startsWith("Saved "));
    const QString png = window.StatusText().mid(6);
    const QString settings = png.left(png.size() - 4) + ".ini";
    QVERIFY(QFile::exists(settings));
    QCOMPARE(Decoded(png), drawn);

    const QString rendered = folder.filePath("rendered.png");
    QCOMPARE(Render(settings, rendered), QString());
    QCOMPARE(Decoded(rendered), drawn);

    // The curves made the difference: the settings list their files, so
    // without them the render refuses, naming them; drawn anyway, the
    // picture changes.
    for (const QString& name : QDir(folder.path()).entryList({"*.curve"}))
      QFile::remove(folder.filePath(name));
    const QString plain = folder.filePath("plain.png");
    QVERIFY(Render(settings, plain).contains("_Values_-_Radius.curve"));
    QCOMPARE(Render(settings, plain, {"--allow-missing-curves"}), QString());
    QVERIFY(Decoded(plain) != drawn);
    QVERIFY(dialogs.messages.isEmpty());
  }
};

QTEST_MAIN(MainWindowCurvesTest)
#include "main_window_curves_test.moc"
