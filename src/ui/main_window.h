// The main window: canvas in a scroll box, menu bar, progress bar and
// status line. It owns the program's state and the tool windows, starts the
// program (settings read, canvas cleared, "Hello") and ends it (run
// stopped, settings written, "Exiting").
//
// Draw colours its steps on a worker thread, one step at a time. The window's
// thread only shows pictures and takes edits: between two steps it hands the
// worker copies of the parameter set, the curve slots and the pointer, and
// applies Stop, Clear and the other commands that touch the canvas, so they
// never arrive while a step's dots are being coloured.
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
#include "ui/window_state.h"

class QAction;
class QScrollArea;
class QTimer;
class QMenu;

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
class HistoryController;
class HistoryWindow;
struct RunPosition;
class MainWindowHost;
class StatusPanel;
class ValuesWindow;
class StepWorker;
class CurveSlots;
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
  StatusPanel* Panel() const { return Panel2_; }
  void SetupProgressBar(int maximum);
  void ShowProgress(int position);
  void ShowMessage(const QString& text);

  // --- canvas
  void FormResize();
  // Zooms by `ratio` keeping the picture point under `anchor` (a point of
  // the scroll box's viewport) where it is.
  void ZoomAbout(double ratio, QPoint anchor);
  // Ctrl+plus and Ctrl+minus: about the pointer when it is over the canvas
  // view, else about the view's centre.
  void ZoomInOrOut(bool in);
  // Ctrl+0: the whole picture in the whole view; Ctrl+1: 100 %.
  void ZoomToWholeView();
  void ZoomToActualSize();
  // The canvas view scrolled so the picture's centre is in the middle.
  void CentreCanvas();
  bool ZoomToFit() const { return zoom_to_fit_; }
  double ZoomFactor() const { return zoom_factor_; }
  static constexpr int kZoomMargin = 100;
  CanvasView* Image1() const { return Image1_; }
  QScrollArea* ScrollBox1() const { return ScrollBox1_; }
  // The canvas bitmap as an image (a deep copy).
  QImage CanvasPictureCopy() const;
  void ShowCanvasPicture(const QImage& picture);
  // Shows the canvas bitmap, copying only the rows that conversions changed
  // since it was last shown.
  void ShowCanvas();

  // --- commands (the menu handlers)
  void DrawOrStop();
  void Clear();
  void ToggleZoomToFit();
  void OpenSettingsFile();
  // Opens a settings file, or a picture by the recipe it carries (the Open
  // dialog, Open Recent, a dropped file, `quorl FILE`). False when nothing
  // changed: refused, unreadable, or the user kept the unsaved picture.
  bool OpenFile(const QString& file);
  // Before a command throws a drawn, unsaved picture away: "Save the picture
  // first?" (once per picture, unless turned off). False when the user
  // cancelled or the save failed; the command then does nothing.
  bool MaySetPictureAside() override;
  bool PictureUnsaved() const { return picture_unsaved_; }
  const WindowState& Remembered() const { return window_state_; }
  QMenu* RecentMenu() const { return recent_menu_; }
  void SavePictureToFolder();
  // The exit sequence; also what closing the window does.
  void Exit();
  void SetDrawCommandsEnabled(bool drawEnabled);
  // The Animation window's "Make Frames", off while a run draws.
  void EnableAnimationStart(bool enabled);

  QAction* Action(const QString& name) const { return actions_.value(name); }
  // A Draw run, or an animation series making its frames.
  bool RunInProgress() const;
  // Runs `command` now, or between the step being drawn and the next one.
  void BetweenSteps(std::function<void()> command) override;
  // "Draw each step?" shows the canvas at most this often.
  static constexpr int kShowIntervalMs = 33;
  bool FormsReady() const { return forms_ready_; }
  ProgramState& State() { return *state_; }
  DrawingRun& Run() { return *run_; }
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

  // --- recipe history (main_window_history.cpp)
  HistoryController* History() const { return history_; }
  HistoryWindow* HistoryList() const { return history_window_; }
  // After the history put a recipe back: menu checks and tool windows.
  void RecipePutBack();
  // The source and background pictures of the recipe put back, when their
  // files differ from the ones loaded (`source`, `background`): loaded
  // again, or let go when the recipe names none. The values stay the
  // recipe's.
  void PicturesFollowRecipe(const std::string& source, const std::string& background);
  void UndoRecipe();
  void RedoRecipe();
  void ShowHistory();
  // File > Save canvas state and Open canvas state.
  void SaveCanvasState();
  void OpenCanvasState();
  // False when refused (a run draws, the user kept the picture, a bad file).
  bool OpenCanvasStateFile(const QString& file);
  // Goes on drawing from a position restored from a state file.
  void ContinueRun(const RunPosition& position);

  // Stores the parameters (with the windows' live geometry) under the
  // current style in the program's settings file.
  void WriteOwnSettings();

 signals:
  // The exit sequence has written the settings: the program ends now.
  void ProgramEnding();
  // A Draw run finished drawing `step`; the next step has not started, and
  // what is done in answer takes effect from it.
  void StepDrawn(int step);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The scroll box gets its new size after the window's resize event: the
  // canvas is laid out again then.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  // At the remembered size and place, when there is one on a screen.
  void PlaceMainWindow();
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
  // The end of "Make Frames": the last frame on show, where the frames went.
  void ReportFramesSaved();

  // After every settings read: menu checks, maximizing, window refresh.
  void ApplyReadOutcome(const ReadIniOutcome& outcome);
  ReadIniOutcome ReadSettings(const std::string& style, const std::string& file);
  void RefreshToolWindows();
  // The tool windows take their stored geometry from the layout once, when
  // they are created; CollectGeometry stores it back before a write.
  void ApplyLayout();
  void CollectGeometry();
  ScreenSize Screen() const;

  // The worker finished a step: commands, fresh copies, the next step.
  void AfterStep(bool more);
  void StartNextStep();
  void EndRun();
  // The menu switches and the "Use arctan2?" box the run reads.
  void SyncRunSwitches();
  void ShowTimeLeft(int position);
  void RebuildRecentMenu();
  void RememberWindowState();

  std::unique_ptr<ProgramState> state_;
  ParameterSet& params_;
  WindowLayout& layout_;
  std::unique_ptr<MainWindowHost> host_;
  std::unique_ptr<DrawingRun> run_;
  // What the step on the worker reads: copies taken between steps.
  std::unique_ptr<ParameterSet> step_params_;
  std::unique_ptr<CurveSlots> step_curves_;
  StepWorker* worker_ = nullptr;
  std::vector<std::function<void()>> between_steps_;
  // Run by the worker before the step it is handed next (an autosave's copy
  // of the grids); set between steps.
  std::function<void()> before_step_;
  bool draw_each_step_ = false;
  qint64 last_shown_ms_ = 0;
  qint64 show_cost_ms_ = 0;
  bool stepping_ = false;
  bool ending_ = false;
  QImage last_frame_;
  // The canvas bitmap as last shown, kept to copy only changed rows into.
  QImage shown_;
  // The view shows shown_ (not a curve or a frame), so changed rows suffice.
  bool view_shows_canvas_ = false;
  bool picture_unsaved_ = false;
  WindowState window_state_;
  QMenu* recent_menu_ = nullptr;
  int frames_saved_ = 0;
  QString frames_folder_;

  bool zoom_to_fit_ = false;
  double zoom_factor_ = 1.0;
  // Panning: Space held, or a drag with the middle button (or with the left
  // button while Space is held) under way.
  bool space_held_ = false;
  bool panning_ = false;
  QPoint pan_from_;
  QPoint pan_scroll_;
  bool centred_once_ = false;
  bool PanEvent(QEvent* event);
  void SetZoom(double factor);
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

  void StartHistory();
  void NameUndoSteps();
  static constexpr int kMaxUndoCaption = 40;
  HistoryController* history_ = nullptr;
  HistoryWindow* history_window_ = nullptr;
};

}  // namespace quorl
