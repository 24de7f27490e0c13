// The menu bar of the main window, its switches and the "show a tool
// window" commands.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "settings/parameter_set.h"
#include "ui/about_window.h"
#include "ui/animation_points_window.h"
#include "ui/animation_window.h"
#include "ui/background_image_window.h"
#include "ui/colors_window.h"
#include "ui/dimensions_window.h"
#include "ui/explore_menu.h"
#include "ui/function_window.h"
#include "ui/main_window.h"
#include "ui/opacity_window.h"
#include "ui/path_window.h"
#include "ui/points_window.h"
#include "ui/source_image_window.h"
#include "ui/tool_window.h"
#include "ui/values_window.h"

namespace quorl {

QAction* MainWindow::AddItem(QMenu* menu, const char* name, const QString& caption,
                             const QKeySequence& shortcut) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromUtf8(name));
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
  }
  menu->addAction(action);
  actions_.insert(action->objectName(), action);
  return action;
}

void MainWindow::AddSeparator(QMenu* menu, const char* name, bool visible) {
  QAction* line = menu->addSeparator();
  line->setObjectName(QString::fromUtf8(name));
  line->setVisible(visible);
  actions_.insert(line->objectName(), line);
}

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto menu = [bar](const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QString::fromUtf8(name));
    return m;
  };
  QMenu* file = menu("File1", QStringLiteral("File"));
  connect(
      AddItem(file, "Openinifromfile1", QStringLiteral("Open .ini file"), QKeySequence(Qt::CTRL | Qt::Key_O)),
      &QAction::triggered, this, [this] { BetweenSteps([this] { OpenSettingsFile(); }); });
  recent_menu_ = file->addMenu(QStringLiteral("Open Recent"));
  recent_menu_->setObjectName(QStringLiteral("OpenRecent1"));
  recent_menu_->setToolTip(QStringLiteral("The last ten files opened"));
  recent_menu_->setEnabled(false);
  AddItem(file, "Opencurvefile1", QStringLiteral("Open curve"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  AddSeparator(file, "N4");
  connect(AddItem(file, "Savequorlpicture2", QStringLiteral("Save quorl picture"),
                  QKeySequence(Qt::CTRL | Qt::Key_S)),
          &QAction::triggered, this, [this] { BetweenSteps([this] { SavePictureSet(); }); });
  AddItem(file, "Savecurvefile1", QStringLiteral("Save curve"), QKeySequence(Qt::CTRL | Qt::Key_W));
  AddSeparator(file, "N20");
  connect(AddItem(file, "Savecanvasstate1", QStringLiteral("Save canvas state")), &QAction::triggered, this,
          &MainWindow::SaveCanvasState);
  connect(AddItem(file, "Opencanvasstate1", QStringLiteral("Open canvas state")), &QAction::triggered, this,
          [this] { BetweenSteps([this] { OpenCanvasState(); }); });
  AddSeparator(file, "N1");
  connect(AddItem(file, "Savequorlpicture1", QStringLiteral("Change default save location")),
          &QAction::triggered, this, &MainWindow::SavePictureToFolder);
  AddItem(file, "Keepsettingsinsidesavedpictures1", QStringLiteral("Keep settings inside saved pictures"))
      ->setCheckable(true);
  AddSeparator(file, "N10");
  connect(AddItem(file, "Exit1", QStringLiteral("Exit"), QKeySequence(Qt::ALT | Qt::Key_F4)),
          &QAction::triggered, this, &MainWindow::Exit);

  QMenu* edit = menu("Edit1", QStringLiteral("Edit"));
  // Undo walks the whole recipe history, curve edits included.
  connect(AddItem(edit, "Undocurveedit1", QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z)),
          &QAction::triggered, this, &MainWindow::UndoRecipe);
  QAction* redo =
      AddItem(edit, "Redo1", QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  connect(redo, &QAction::triggered, this, &MainWindow::RedoRecipe);
  connect(AddItem(edit, "History1", QStringLiteral("History"), QKeySequence(Qt::CTRL | Qt::Key_H)),
          &QAction::triggered, this, &MainWindow::ShowHistory);
  AddSeparator(edit, "N12");
  AddItem(edit, "CutCurve1", QStringLiteral("Cut Curve"), QKeySequence(Qt::CTRL | Qt::Key_X));
  AddItem(edit, "CopyCurve1", QStringLiteral("Copy Curve"), QKeySequence(Qt::CTRL | Qt::Key_C));
  AddItem(edit, "PasteCurve1", QStringLiteral("Paste Curve"), QKeySequence(Qt::CTRL | Qt::Key_V));
  AddSeparator(edit, "N3");
  AddItem(edit, "Resetallcurves1", QStringLiteral("Reset all curves"), QKeySequence(Qt::CTRL | Qt::Key_K));
  AddItem(edit, "ShowCurve1", QStringLiteral("Show Curve"), QKeySequence(Qt::Key_S));

  QMenu* quorl = menu("Quorl1", QStringLiteral("Quorl"));
  connect(AddItem(quorl, "Draw1", QStringLiteral("Draw"), QKeySequence(Qt::Key_D)), &QAction::triggered, this,
          &MainWindow::DrawOrStop);
  QAction* stop = AddItem(quorl, "Stop1", QStringLiteral("Stop"), QKeySequence(Qt::Key_Escape));
  stop->setEnabled(false);
  connect(stop, &QAction::triggered, this, &MainWindow::DrawOrStop);
  connect(AddItem(quorl, "Clear1", QStringLiteral("Clear"), QKeySequence(Qt::Key_C)), &QAction::triggered,
          this, &MainWindow::Clear);
  AddSeparator(quorl, "N2");
  AddItem(quorl, "Draweachstep1", QStringLiteral("Draw each step?"), QKeySequence(Qt::Key_E))
      ->setCheckable(true);
  AddItem(quorl, "Preview1", QStringLiteral("Preview"), QKeySequence(Qt::Key_P))->setCheckable(true);
  AddSeparator(quorl, "N5");
  AddItem(quorl, "Usetransparency1", QStringLiteral("Use transparency?"))->setCheckable(true);
  connect(AddItem(quorl, "Setopacity1", QStringLiteral("Set opacity")), &QAction::triggered, this,
          [this] { ShowToolWindow(opacity_, "Showing the image opacity form"); });
  AddSeparator(quorl, "N6");
  QAction* zoom =
      AddItem(quorl, "Zoomtofit1", QStringLiteral("Toggle zoom"), QKeySequence(Qt::CTRL | Qt::Key_F));
  zoom->setCheckable(true);
  connect(zoom, &QAction::triggered, this, &MainWindow::ToggleZoomToFit);
  QAction* zoom_in = AddItem(quorl, "Zoomin1", QStringLiteral("Zoom in"), QKeySequence::ZoomIn);
  zoom_in->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(zoom_in, &QAction::triggered, this, [this] { ZoomInOrOut(true); });
  connect(AddItem(quorl, "Zoomout1", QStringLiteral("Zoom out"), QKeySequence::ZoomOut), &QAction::triggered,
          this, [this] { ZoomInOrOut(false); });
  connect(
      AddItem(quorl, "Fitwholeview1", QStringLiteral("Fit to window"), QKeySequence(Qt::CTRL | Qt::Key_0)),
      &QAction::triggered, this, &MainWindow::ZoomToWholeView);
  connect(AddItem(quorl, "Actualsize1", QStringLiteral("Actual size"), QKeySequence(Qt::CTRL | Qt::Key_1)),
          &QAction::triggered, this, &MainWindow::ZoomToActualSize);
  connect(AddItem(quorl, "Setcanvasasbackground1", QStringLiteral("Set canvas as background"),
                  QKeySequence(Qt::CTRL | Qt::Key_B)),
          &QAction::triggered, this, [this] { background_image_->UseCurrentAsBackground(); });

  QMenu* options = menu("Points1", QStringLiteral("Options"));
  connect(AddItem(options, "Function1", QStringLiteral("Function"), QKeySequence(Qt::Key_F1)),
          &QAction::triggered, this, [this] { ShowToolWindow(function_, "Showing Function form"); });
  connect(AddItem(options, "Values1", QStringLiteral("Values"), QKeySequence(Qt::Key_F2)),
          &QAction::triggered, this, [this] { ShowToolWindow(values_, "Showing Values form"); });
  connect(AddItem(options, "Color1", QStringLiteral("Color"), QKeySequence(Qt::Key_F3)), &QAction::triggered,
          this, [this] { ShowToolWindow(colors_, "Showing Colors form"); });
  connect(AddItem(options, "SetPoints1", QStringLiteral("Points"), QKeySequence(Qt::Key_F4)),
          &QAction::triggered, this, [this] { ShowToolWindow(points_, "Showing Points form"); });
  connect(AddItem(options, "Path1", QStringLiteral("Path"), QKeySequence(Qt::Key_F5)), &QAction::triggered,
          this, [this] { ShowToolWindow(path_, "Showing Path form"); });
  connect(AddItem(options, "SourceImage1", QStringLiteral("Source Image"), QKeySequence(Qt::Key_F6)),
          &QAction::triggered, this, [this] { ShowToolWindow(source_image_, "Showing Source Image form"); });
  connect(AddItem(options, "Animation1", QStringLiteral("Animation"), QKeySequence(Qt::Key_F7)),
          &QAction::triggered, this, [this] { ShowToolWindow(animation_, "Showing Animation form"); });
  connect(AddItem(options, "BackgroundImage1", QStringLiteral("Background Image"), QKeySequence(Qt::Key_F8)),
          &QAction::triggered, this,
          [this] { ShowToolWindow(background_image_, "Showing Background Image form"); });
  connect(AddItem(options, "Setimagedimensions1", QStringLiteral("Set image dimensions"),
                  QKeySequence(Qt::Key_F9)),
          &QAction::triggered, this,
          [this] { ShowToolWindow(dimensions_, "Showing the image dimension form"); });
  connect(
      AddItem(options, "AnimationPoints1", QStringLiteral("Animation Points "), QKeySequence(Qt::Key_F10)),
      &QAction::triggered, this,
      [this] { ShowToolWindow(animation_points_, "Showing Animation Points form"); });
  AddSeparator(options, "N7");
  auto* modes = new QActionGroup(this);
  auto hidden_radio = [modes](QAction* action) {
    action->setCheckable(true);
    action->setVisible(false);
    modes->addAction(action);
  };
  hidden_radio(AddItem(options, "Setrotationpoints1", QStringLiteral("Set rotation points")));
  Action(QStringLiteral("Setrotationpoints1"))->setChecked(true);
  hidden_radio(AddItem(options, "Setpathpoints1", QStringLiteral("Set path points")));
  hidden_radio(AddItem(options, "DrawMultiplierBezier1", QStringLiteral("Draw Multiplier Bezier"),
                       QKeySequence(Qt::CTRL | Qt::Key_4)));
  AddSeparator(options, "N8", false);
  AddItem(options, "DrawwithStartandEndBeziers1", QStringLiteral("Draw with Start and End Beziers?"))
      ->setVisible(false);
  AddItem(options, "UseStartBezierasEndBezier1", QStringLiteral("Use Start Bezier as End Bezier?"),
          QKeySequence(Qt::Key_Equal))
      ->setVisible(false);
  AddSeparator(options, "N9", false);
  QAction* move_rotation = AddItem(options, "Moverotationcenterbetweenpoints1",
                                   QStringLiteral("Move rotation center between points?"));
  move_rotation->setCheckable(true);
  move_rotation->setVisible(false);
  AddItem(options, "Usewobble1", QStringLiteral("Use \"wobble\"?"))->setCheckable(true);
  AddSeparator(options, "N11");
  AddItem(options, "Usemousetochangevalues1", QStringLiteral("Use mouse to change values?"))
      ->setCheckable(true);
  QAction* snap = AddItem(options, "Snapvaluesback1", QStringLiteral("Snap values back?"));
  snap->setCheckable(true);
  snap->setEnabled(false);

  QMenu* help = menu("Help1", QStringLiteral("Help"));
  connect(AddItem(help, "AboutQuorl1", QStringLiteral("About Quorl")), &QAction::triggered, this, [this] {
    if (about_->isVisible()) {
      about_->raise();
    } else {
      about_->show();
    }
    about_->activateWindow();
    ShowStatus(QStringLiteral("Showing about form"));
  });
  AddExploreMenuItems(*this, help, options);

  ConnectCurveMenuItems();
  ConnectToggles();
}

void MainWindow::ConnectToggles() {
  connect(Action("Draweachstep1"), &QAction::triggered, this, [this](bool on) {
    ShowStatus(on ? QStringLiteral("Displaying each step as it is calculated")
                  : QStringLiteral("Not displaying each step as it is calculated"));
  });
  connect(Action("Preview1"), &QAction::triggered, this, [this](bool on) {
    ShowStatus(on ? QStringLiteral("Drawing in preview mode")
                  : QStringLiteral("Not drawing in preview mode"));
  });
  connect(Action("Usetransparency1"), &QAction::triggered, this, [this] { ShowStatus(QString()); });
  connect(Action("Usewobble1"), &QAction::triggered, this, [this](bool on) { params_.Wobble = on; });
  connect(Action("Usemousetochangevalues1"), &QAction::triggered, this, [this](bool on) {
    params_.UseMouseToChangeValues = on;
    Action("Snapvaluesback1")->setEnabled(on);
  });
  connect(Action("Snapvaluesback1"), &QAction::triggered, this,
          [this](bool on) { params_.SnapValuesBack = on; });
  connect(Action("Keepsettingsinsidesavedpictures1"), &QAction::triggered, this, [this](bool on) {
    params_.KeepSettingsInPictures = on;
    ShowStatus(on ? QStringLiteral("Saved pictures carry their settings")
                  : QStringLiteral("Saved pictures do not carry their settings"));
  });
}

void MainWindow::ShowToolWindow(QWidget* window, const char* message) {
  if (auto* tool = qobject_cast<ToolWindow*>(window)) tool->ShowAndRaise();
  ShowStatus(QString::fromUtf8(message));
}

void MainWindow::ToggleZoomToFit() {
  zoom_to_fit_ = !zoom_to_fit_;
  if (!zoom_to_fit_) zoom_factor_ = 1.0;
  Action("Zoomtofit1")->setChecked(zoom_to_fit_);
  ShowStatus(zoom_to_fit_ ? QStringLiteral("Zooming to fit is on") : QStringLiteral("Zooming turned off"));
  FormResize();
}

}  // namespace quorl
