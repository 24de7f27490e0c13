// The Source image and Background Image windows: loading through the file
// dialog, the messages of a failed load, Init after a settings read, and
// Apply with the canvas size rule.
#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <fstream>

#include "canvas/image_loading.h"
#include "canvas/png_writer.h"
#include "engine/program_state.h"
#include "ui/background_image_window.h"
#include "ui/dimensions_window.h"
#include "ui/numeric_field.h"
#include "ui/picture_preview.h"
#include "ui/source_image_window.h"
#include "recording_commands.h"
#include "ui_test_support.h"

using namespace quorl;
using quorl::test::RecordingCommands;
using quorl::test::RecordingDialogs;

class PictureWindowsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;

  // A PNG of a flat colour; returns its path.
  QString WritePicture(const QString& name, int width, int height, std::uint8_t red) {
    Picture24 picture(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) picture.SetPixel(x, y, red, 20, 30);
    const QString path = folder_.filePath(name);
    std::string error;
    if (!WritePngFile(path.toStdString(), picture, {}, &error)) qFatal("%s", error.c_str());
    return path;
  }
  static void Click(QWidget& window, const char* name) {
    auto* button = window.findChild<QAbstractButton*>(QString::fromUtf8(name));
    if (!button) qFatal("no button %s", name);
    button->click();
  }

 private slots:
  void initTestCase() { QVERIFY(folder_.isValid()); }

  void sourceLoadsThroughTheDialog() {
    RecordingDialogs dialogs;
    ProgramState state;
    RecordingCommands commands(state);
    SourceImageWindow window(state, commands);
    QCOMPARE(window.Preview()->Caption(), QString(PicturePreview::kNoImageCaption));

    dialogs.file_answer = "";  // cancelled: nothing happens
    Click(window, "btnLoadSourceImage");
    QCOMPARE(dialogs.open_requests.size(), 1);
    QCOMPARE(dialogs.open_requests[0], QString("Open|.|") + kPictureFilter);
    QVERIFY(commands.status.isEmpty());

    const QString path = WritePicture("source.png", 12, 6, 200);
    dialogs.file_answer = path;
    Click(window, "btnLoadSourceImage");
    QCOMPARE(state.source.SourceWidth, 12);
    QCOMPARE(commands.status, QStringList{kLoadedSourceMessage + path});
    QVERIFY(window.CheckBox("cbUseSource")->isChecked());
    QVERIFY(state.params.UseSourceImage);
    QVERIFY(window.Preview()->HasPicture());
    QCOMPARE(window.Preview()->Caption(), QString());
    QCOMPARE(QString::fromStdString(state.params.SourceImageFileName), path);

    // The next dialog starts from the last file.
    Click(window, "btnLoadSourceImage");
    QCOMPARE(dialogs.open_requests.last(), "Open|" + path + "|" + kPictureFilter);

    // Unchecking turns the sampler off but keeps the picture.
    window.CheckBox("cbUseSource")->click();
    QVERIFY(!state.params.UseSourceImage);
    QVERIFY(state.source.Loaded());
  }

  void failedLoadsSayWhyAndKeepThePicture() {
    RecordingDialogs dialogs;
    ProgramState state;
    RecordingCommands commands(state);
    SourceImageWindow source(state, commands);
    BackgroundImageWindow background(state, commands, nullptr);

    const QString gif = folder_.filePath("picture.gif");
    std::ofstream(gif.toStdString()) << "GIF89a";
    const QString cut = folder_.filePath("cut.png");
    std::ofstream(cut.toStdString()) << "\x89PNG\r\n";

    for (const QString& path : {gif, cut}) {
      dialogs.messages.clear();
      commands.status.clear();
      QVERIFY(!source.LoadSourceImage(path.toStdString()));
      QVERIFY(!background.LoadBackgroundImage(path.toStdString()));
      QCOMPARE(commands.status,
               (QStringList{kUnableSourceMessage + path, kUnableBackgroundMessage + path}));
      QCOMPARE(dialogs.messages.size(), 2);
      QVERIFY(dialogs.messages[0].startsWith(kProblemMessage));
    }
    QVERIFY(!state.source.Loaded());
    QVERIFY(!state.params.UseSourceImage);
    QCOMPARE(state.params.SourceImageFileName, std::string());
    QCOMPARE(source.Preview()->Caption(), QString(PicturePreview::kNoImageCaption));
    QCOMPARE(background.Preview()->Caption(), QString(PicturePreview::kNoImageCaption));

    // A missing file: the warning first.
    dialogs.messages.clear();
    const QString missing = folder_.filePath("gone.png");
    QVERIFY(!source.LoadSourceImage(missing.toStdString()));
    QCOMPARE(dialogs.messages.value(0), "file: \n" + missing + "  does not exist");
  }

  void sourceInitKeepsHundredthsAndFollowsTheSettings() {
    ProgramState state;
    RecordingCommands commands(state);
    SourceImageWindow window(state, commands);
    QCOMPARE(window.Bar("tbSourceImageOpacityThreshold")->value(), 60);  // the default 0.6
    QCOMPARE(state.params.SourceImageOpacityThreshold, 0.6);
    QVERIFY(!window.ThresholdShown());

    // As after a settings read.
    state.params.SourceImageStartOffsetPerStep = 0.6;
    state.params.SourceImageEndOffsetOverall = -2.0;
    state.params.SourceImageStartOffsetOverall = 0.297;
    state.params.SourceImageEndThetaColorMultiplier = 25;
    state.params.UseOpaquePixels = true;
    state.params.SourceImageRepeatByIntegers = true;
    state.params.UseSourceImage = true;
    state.params.SaveSourceImageFile = true;
    window.Init();
    QCOMPARE(window.Bar("tbImageStartOffsetPerStep")->value(), 60);
    QCOMPARE(state.params.SourceImageStartOffsetPerStep, 0.6);
    QCOMPARE(window.ValueLabel("labelImageStartOffsetPerStep")->text(), QString("0.6"));
    QCOMPARE(window.ValueLabel("labelImageEndOffsetOverall")->text(), QString("-2"));
    QCOMPARE(state.params.SourceImageStartOffsetOverall, 0.29);  // kept to hundredths
    QCOMPARE(state.params.SourceImageEndThetaColorMultiplier, 20);
    QCOMPARE(window.ValueLabel("labelEndRepeatPerStep")->text(), QString("20"));
    for (const char* box : {"cbUseOpaquePixels", "cbSourceImageRepeatByIntegers", "cbUseSource",
                            "cbSaveCopyOfSourceImage"})
      QVERIFY2(window.CheckBox(box)->isChecked(), box);
    QVERIFY(window.ThresholdShown());

    // The threshold is there exactly while "Opaque?" is checked.
    window.CheckBox("cbUseOpaquePixels")->click();
    QVERIFY(!state.params.UseOpaquePixels);
    QVERIFY(!window.ThresholdShown());
    window.CheckBox("cbUseOpaquePixels")->click();
    QVERIFY(window.ThresholdShown());

    window.Bar("tbImageEndOffsetPerStep")->setValue(-200);
    QCOMPARE(state.params.SourceImageEndOffsetPerStep, -2.0);
    window.Bar("tbStartRepeatOverall")->setValue(-3);
    QCOMPARE(state.params.SourceImageStartStepColorMultiplier, -3);
    QCOMPARE(window.ValueLabel("labelStartRepeatOverall")->text(), QString("-3"));
  }

  void backgroundLoadClearsTheCanvasOnlyWhenSwitchedOn() {
    RecordingDialogs dialogs;
    ProgramState state;
    state.params.ImageWidth = state.params.ImageHeight = 8;
    RecordingCommands commands(state);
    BackgroundImageWindow window(state, commands, nullptr);

    dialogs.file_answer = WritePicture("first.png", 8, 8, 90);
    Click(window, "btnLoadBackgroundImageFromFile");
    QVERIFY(state.background.Loaded());
    QCOMPARE(commands.clears, 0);  // "Use background image?" is off
    QVERIFY(window.Preview()->HasPicture());

    window.CheckBox("cbUseBackgroundImage")->click();
    QVERIFY(state.params.UseBackgroundImage);
    dialogs.file_answer = WritePicture("second.png", 8, 8, 150);
    Click(window, "btnLoadBackgroundImageFromFile");
    QCOMPARE(commands.clears, 1);
    QCOMPARE(state.canvas.Pixel(0, 3, 3), 150.0);
    QCOMPARE(commands.status.last(), QString(kAppliedBackgroundMessage));

    // A cancelled dialog leaves the drawing alone.
    dialogs.file_answer = "";
    Click(window, "btnLoadBackgroundImageFromFile");
    QCOMPARE(commands.clears, 1);
  }

  void applyResizesWithinTheLimitsAndShowsTheSize() {
    RecordingDialogs dialogs;
    ProgramState state;
    state.params.ImageWidth = 20;
    state.params.ImageHeight = 10;
    RecordingCommands commands(state);
    DimensionsWindow dimensions(state, commands);
    BackgroundImageWindow window(state, commands, &dimensions);

    window.CheckBox("cbBackgroundImageResizeCanvas")->click();
    QVERIFY(window.LoadBackgroundImage(WritePicture("wide.png", 64, 48, 1).toStdString()));
    Click(window, "btnApply");
    QCOMPARE(state.canvas.CanvasWidth(), 64);
    QCOMPARE(state.canvas.CanvasHeight(), 48);
    QCOMPARE(dimensions.WidthField()->text(), QString("64"));
    QCOMPARE(dimensions.HeightField()->text(), QString("48"));
    QCOMPARE(commands.status.last(), QString(kAppliedBackgroundMessage));
    QVERIFY(dialogs.messages.isEmpty());

    state.background.SetPicture(Picture24(7000, 2));
    Click(window, "btnApply");
    QCOMPARE(dialogs.messages, QStringList{kCanvasSizeMessage});
    QCOMPARE(state.params.ImageWidth, 64);
    QCOMPARE(state.canvas.CanvasWidth(), 64);
    QCOMPARE(commands.clears, 2);  // still cleared
  }

  void placementAndBoxesFollowTheParameters() {
    ProgramState state;
    RecordingCommands commands(state);
    BackgroundImageWindow window(state, commands, nullptr);
    QVERIFY(window.Radio("rbBackgroundImagePositionCentered")->isChecked());

    window.Radio("rbBackgroundImagePositionTiled")->click();
    QVERIFY(state.params.BackgroundImagePositionTiled);
    QVERIFY(!state.params.BackgroundImagePositionCentered);
    QVERIFY(!state.params.BackgroundImagePositionStretched);

    // As after a settings read.
    state.params.BackgroundImagePositionTiled = false;
    state.params.BackgroundImagePositionStretched = true;
    state.params.UseBackgroundImage = true;
    state.params.BackgroundImageResizeCanvas = true;
    window.Init();
    QVERIFY(window.Radio("rbBackgroundImagePositionStretched")->isChecked());
    QVERIFY(window.CheckBox("cbUseBackgroundImage")->isChecked());
    QVERIFY(window.CheckBox("cbBackgroundImageResizeCanvas")->isChecked());
    QVERIFY(!state.params.BackgroundImagePositionCentered);  // Init writes nothing
  }

  void canvasBecomesTheBackground() {
    ProgramState state;
    state.params.ImageWidth = 6;
    state.params.ImageHeight = 5;
    RecordingCommands commands(state);
    BackgroundImageWindow window(state, commands, nullptr);
    Click(window, "btnUseCurrentAsBackground");
    QCOMPARE(commands.status, QStringList{kCanvasAsBackgroundMessage});
    QCOMPARE(state.background.BackgroundWidth, 6);
    QCOMPARE(state.background.BackgroundHeight, 5);
    QVERIFY(window.Preview()->HasPicture());
    QVERIFY(!state.params.UseBackgroundImage);
    QCOMPARE(commands.clears, 0);
  }
};

QTEST_MAIN(PictureWindowsTest)
#include "picture_windows_test.moc"
