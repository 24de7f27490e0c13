// The main window: canvas in a scroll box, menu bar, progress bar and
// status line. It owns the program's state and the tool windows, starts the
// program (settings read, canvas cleared, "Hello") and ends it (run
// stopped, settings written, "Exiting").
//
// A drawing run goes one step per turn of the event loop, so Stop, Clear,
// menu commands and edits in the tool windows are handled between any two
// steps, and the window is never held for longer than one step. Everything
// runs on the window's thread: the tool windows edit the very parameter set
// the run reads, without copies or locks.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QMap>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "services/picture_saving.h"
#include "settings/parameter_set.h"
#include "settings/settings_file.h"
#include "ui/canvas_commands.h"
#include "ui/tool_window_host.h"

class QAction;
class QScrollArea;
class QTimer;

namespace quorl {

class AboutWindow;
class AnimationPointsWindow;
class AnimationWindow;
class BackgroundImageWindow;
class CanvasView;
class ColorsWindow;
class CurveCanvasAdapter;
class CurveCommands;
class CurveEditSession;
class CurveFileDialogsAdapter;
class CurveMouseEditor;
class DimensionsWindow;
class OpacityWindow;
class PathWindow;
class PointsWindow;
class SourceImageWindow;
class DrawingRun;
class FunctionWindow;
class MainWindowHost;
class StatusPanel;
class ValuesWindow;
struct ProgramState;

class MainWindow : public QMainWindow, public ToolWindowHost, public CanvasCommands {
  Q_OBJECT

 public:
  static constexpr int kInitialWidth = 633;
  static constexpr int kInitialHeight = 550;

  // Runs the whole start: settings, canvas, "Hello", then the tool windows.
  MainWindow();
  ~MainWindow() override;

  // --- status line and progress bar
  void ShowStatus(const QString& message);
  QString StatusText() const;
  void SetupProgressBar(int maximum);
  void ShowProgress(int position);
  void ShowMessage(const QString& text);

  // --- canvas
  void FormResize();
  bool ZoomToFit() const { return zoom_to_fit_; }
  double ZoomFactor() const { return zoom_factor_; }
  static constexpr int kZoomMargin = 100;
  CanvasView* Image1() const { return Image1_; }
  QScrollArea* ScrollBox1() const { return ScrollBox1_; }
  // The canvas bitmap as an image (a deep copy).
  QImage CanvasPictureCopy() const;
  void ShowCanvasPicture(const QImage& picture);

  // --- commands (the menu handlers)
  void DrawOrStop();
  void Clear();
  void ToggleZoomToFit();
  void OpenSettingsFile();
  void SavePictureToFolder();
  // The exit sequence; also what closing the window does.
  void Exit();
  void SetDrawCommandsEnabled(bool drawEnabled);
  // The Animation window's "Make Frames", off while a run draws.
  void EnableAnimationStart(bool enabled);

  QAction* Action(const QString& name) const { return actions_.value(name); }
  // A Draw run, or an animation series making its frames.
  bool RunInProgress() const;
  bool FormsReady() const { return forms_ready_; }
  ProgramState& State() { return *state_; }
  ValuesWindow* Values() const { return values_; }
  FunctionWindow* Function() const { return function_; }
  AboutWindow* About() const { return about_; }
  PointsWindow* Points() const { return points_; }
  PathWindow* Path() const { return path_; }
  AnimationWindow* Animation() const { return animation_; }
  AnimationPointsWindow* AnimationPoints() const { return animation_points_; }
  CurveEditSession& CurveSession() { return *curve_session_; }
  CurveCommands& Curves() { return *curve_commands_; }

  // --- ToolWindowHost
  ParameterSet& Parameters() override;
  WindowLayout& Layout() { return layout_; }
  bool IsDrawing() const override { return RunInProgress(); }
  void StopRunQuietly() override;
  void StyleChanger(const std::string& style) override;
  void RedrawCanvas() override;

  // --- CanvasCommands
  void ClearCanvas() override { Clear(); }
  void ResetCanvas() override;
  void ShowStatus(const std::string& message) override { ShowStatus(QString::fromStdString(message)); }

  // Stores the parameters (with the windows' live geometry) under the
  // current style in the program's settings file.
  void WriteOwnSettings();

 signals:
  // The exit sequence has written the settings: the program ends now.
  void ProgramEnding();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The scroll box gets its new size after the window's resize event: the
  // canvas is laid out again then.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void CreateToolWindows();
  void BuildMenus();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {});
  void AddSeparator(QMenu* menu, const char* name, bool visible = true);
  void ConnectToggles();
  void ShowToolWindow(QWidget* window, const char* message);
  // Curve editing on the canvas, the Edit menu and the curve commands of
  // the other menus; the Points, Path and Animation windows talk to them.
  void CreateCurveEditing();
  void ConnectCurveMenuItems();
  void ConnectCurveWindows();
  // Ctrl+4 and "=" work although their menu items are hidden.
  void AddHiddenShortcut(const char* action, const QKeySequence& keys);
  // The slot the Points window works on is the user's choice: refilling the
  // windows or loading curves does not move it.
  int SelectedCurveSlot() const;
  void SelectCurveSlot(int slot);
  // After a settings file was opened: the curves beside it, marked in the
  // Points window.
  void LoadCurvesOfSettings(const std::string& settingsPath);
  // "Save quorl picture", also for each animation frame.
  SaveResult SavePictureSet();

  // After every settings read: menu checks, maximizing, window refresh.
  void ApplyReadOutcome(const ReadIniOutcome& outcome);
  ReadIniOutcome ReadSettings(const std::string& style, const std::string& file);
  void RefreshToolWindows();
  // The tool windows take their stored geometry from the layout once, when
  // they are created; CollectGeometry stores it back before a write.
  void ApplyLayout();
  void CollectGeometry();
  ScreenSize Screen() const;

  // One step of the run; the next one is queued behind the events that
  // arrived meanwhile.
  void RunNextStep();
  void EndRun();
  // The menu switches and the "Use arctan2?" box the run reads.
  void SyncRunSwitches();
  void ShowTimeLeft(int position);

  std::unique_ptr<ProgramState> state_;
  ParameterSet& params_;
  WindowLayout& layout_;
  std::unique_ptr<MainWindowHost> host_;
  std::unique_ptr<DrawingRun> run_;
  QTimer* step_timer_ = nullptr;
  bool stepping_ = false;
  bool ending_ = false;

  bool zoom_to_fit_ = false;
  double zoom_factor_ = 1.0;
  bool forms_ready_ = false;

  QScrollArea* ScrollBox1_ = nullptr;
  QWidget* canvas_holder_ = nullptr;
  CanvasView* Image1_ = nullptr;
  StatusPanel* Panel2_ = nullptr;
  QMap<QString, QAction*> actions_;
  qint64 run_started_ms_ = 0;
  int progress_maximum_ = 0;

  OpacityWindow* opacity_ = nullptr;
  DimensionsWindow* dimensions_ = nullptr;
  ValuesWindow* values_ = nullptr;
  ColorsWindow* colors_ = nullptr;
  FunctionWindow* function_ = nullptr;
  SourceImageWindow* source_image_ = nullptr;
  AboutWindow* about_ = nullptr;
  BackgroundImageWindow* background_image_ = nullptr;
  PointsWindow* points_ = nullptr;
  PathWindow* path_ = nullptr;
  AnimationWindow* animation_ = nullptr;
  AnimationPointsWindow* animation_points_ = nullptr;

  std::unique_ptr<CurveEditSession> curve_session_;
  std::unique_ptr<CurveCanvasAdapter> curve_canvas_;
  std::unique_ptr<CurveMouseEditor> curve_mouse_;
  std::unique_ptr<CurveFileDialogsAdapter> curve_dialogs_;
  std::unique_ptr<CurveCommands> curve_commands_;
};

}  // namespace quorl
