// The main window: canvas in a scroll box, menu bar, progress bar and
// status line. It owns the program's state and the tool windows, starts the
// program (settings read, canvas cleared, "Hello") and ends it (run
// stopped, settings written, "Exiting").
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QMap>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/parameter_set.h"
#include "settings/settings_file.h"
#include "ui/tool_window_host.h"

class QAction;
class QScrollArea;

namespace quorl {

class AboutWindow;
class CanvasView;
class DrawingRun;
class FunctionWindow;
class RunWorker;
class StatusPanel;
class ValuesWindow;
class WindowHost;
struct ProgramState;

class MainWindow : public QMainWindow, public ToolWindowHost {
  Q_OBJECT

 public:
  static constexpr int kInitialWidth = 633;
  static constexpr int kInitialHeight = 550;

  // Runs the whole start: settings, canvas, "Hello", then the tool windows.
  MainWindow();
  ~MainWindow() override;

  // --- status line and progress bar
  void Spammer(const QString& message);
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
  void btnClearClick();
  void Zoomtofit1Click();
  void btnLoadIniFromFileClickClick();
  void buttonSaveImageClick();
  void buttonSaveImageToFolderClick();
  // The exit sequence; also what closing the window does.
  void Exit1Click();
  void SetDrawCommandsEnabled(bool drawEnabled);

  QAction* Action(const QString& name) const { return actions_.value(name); }
  bool RunInProgress() const;
  bool FormsReady() const { return forms_ready_; }
  // The program state; only to be touched while no run is in progress.
  ProgramState& State() { return *state_; }
  ValuesWindow* Values() const { return values_; }
  FunctionWindow* Function() const { return function_; }
  AboutWindow* About() const { return about_; }

  // --- ToolWindowHost
  ParameterSet& Parameters() override { return params_; }
  bool IsDrawing() const override { return RunInProgress(); }
  void StopRunQuietly() override;
  void StyleChanger(const std::string& style) override;
  void RedrawCanvas() override;

  // Stores the parameters (with the windows' live geometry) under the
  // current style in the program's settings file.
  void WriteOwnSettings();

 signals:
  // The exit sequence has written the settings: the program ends now.
  void ProgramEnding();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void CreateToolWindows();
  void BuildMenus();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {});
  void AddSeparator(QMenu* menu, const char* name, bool visible = true);
  void ConnectToggles();
  void ShowToolWindow(QWidget* window, const char* message);

  // After every settings read: menu checks, maximizing, window refresh.
  void ApplyReadOutcome(const ReadIniOutcome& outcome);
  ReadIniOutcome ReadSettings(const std::string& style, const std::string& file);
  void RefreshToolWindows();
  void CollectGeometry();
  ScreenSize Screen() const;

  // Work on the run's state: now when idle, else at the next step boundary.
  void RunOnCore(std::function<void()> work);
  void OnStepBoundary();
  void OnRunFinished();
  void SyncParametersIntoCore();
  void ShowTimeLeft(int position);

  std::unique_ptr<ProgramState> state_;
  ParameterSet params_;  // what the windows edit; the run gets a copy per step
  std::unique_ptr<WindowHost> host_;
  std::unique_ptr<DrawingRun> run_;
  RunWorker* worker_ = nullptr;
  std::vector<std::function<void()>> pending_core_;
  bool pending_stop_ = false;
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

  ValuesWindow* values_ = nullptr;
  FunctionWindow* function_ = nullptr;
  AboutWindow* about_ = nullptr;
};

}  // namespace quorl
