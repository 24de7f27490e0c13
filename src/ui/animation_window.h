// "Animation": makes a numbered series of pictures. Each frame moves up to
// fifteen values around their parameters with a sine, sawtooth or triangle
// wave, takes the rotation points and the animation paths, draws with the
// program's drawing run, saves the picture set and clears the canvas.
//
// Frames are drawn one step per turn of the event loop, like Draw, so the
// user can tick "Stop", move windows and edit parameters while a series
// runs. A stop request (Draw or Stop while a frame draws) ends the series
// after that frame; the frame it cut short is not saved.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "animation/animation_series.h"
#include "services/picture_saving.h"
#include "ui/tool_window.h"

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;

namespace quorl {

class AnimationPointsWindow;
class DrawingRun;
class Host;
struct AnimatedRow;
struct ProgramState;

// Reads four fields as rotation point A (x, y) and B (x, y). False, with the
// conversion error's text, when one of them does not hold a number.
bool ReadRotationFields(const std::array<const QLineEdit*, 4>& fields, Point& a, Point& b,
                        std::string& error);

class AnimationWindow : public ToolWindow, private SeriesView {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  // `run` is the program's drawing run, the one Draw uses; `host` is the
  // main window's side of the core (status line, progress bar, boxes).
  // Takes the stored geometry, then runs Init.
  AnimationWindow(ProgramState& state, DrawingRun& run, Host& host, QWidget* parent = nullptr);
  ~AnimationWindow() override;

  // Every control from the parameters. Filling the radio buttons does not
  // write their states back; the frame count is kept to 1 ... 2000.
  void Init();

  // The Points window's rotate fields in the order X A, Y A, X B, Y B; a
  // series reads them afresh for every frame. Without them it uses the
  // stored rotation points.
  void SetRotationFields(const std::array<const QLineEdit*, 4>& fields);
  // Where the "Move start/end point in animation?" boxes are; without it
  // the paths move nothing.
  void SetAnimationPoints(const AnimationPointsWindow* window);

  // Saves one frame's picture set. By default the plain "Save quorl
  // picture"; the main window sets its own (transparency, window places).
  // A failed save ends the drawing of the series after that frame.
  std::function<SaveResult()> SaveFrame;
  // Brings the run's menu switches up to date; called before every step.
  std::function<void()> SyncRunSwitches;
  // After a series has ended (its last message is up), abandoned or not.
  std::function<void()> SeriesEnded;

  // "Make Frames".
  void RunHiddenCommand();
  bool MakingFrames() const { return series_.has_value(); }
  // The drawing run enables and disables "Make Frames" as Draw starts and
  // ends; while a series runs the button stays disabled.
  void EnableStartButton(bool enabled);
  // Ends a series at once, without finishing or saving the frame being
  // drawn (the program is closing).
  void AbandonSeries();

  // Copies the states of all 45 radio buttons into their switches.
  void UpdateRepeaterRows();
  void TakeFrameCount();
  void TakeAnimationOffset();
  void ShowStartFrame();
  void UpdateOffsetRows();

  QSlider* Bar(const char* object_name) const;
  QLabel* Label(const char* object_name) const;
  QLineEdit* Field(const char* object_name) const;
  QRadioButton* Radio(const char* object_name) const;
  QCheckBox* CheckBox(const char* object_name) const;
  QPushButton* MakeFramesButton() const { return btnSecretButton_; }
  QLabel* FramePanel() const { return panelAnimationNE_; }
  QProgressBar* FrameProgress() const { return pbAnimationFrames_; }

 private:
  struct RowControls {
    const AnimatedRow* row;
    QLineEdit* change;
    QLineEdit* repeat;
    QButtonGroup* group;
    std::array<QRadioButton*, 3> radios;  // sine, linear, linear return
  };

  void BuildFramesPanel();
  void BuildHeadings(QGridLayout* grid);
  void BuildRows(QGridLayout* grid);
  void BuildButtons();
  QLineEdit* MakeField(QWidget* parent, const QString& name, const QString& text,
                       double ParameterSet::*parameter);
  void TakeFieldValue(QLineEdit* field, double& parameter);

  // Disables or enables "Make Frames" and the frame count while a series runs.
  void DisableThings();
  void EnableThings();
  void ShowRunning(bool running);

  void StartNextFrame();
  void RunFrameStep();
  void FinishFrame();
  void EndSeries();

  // SeriesView
  void ShowFrame(int f) override;
  void Status(const std::string& text) override;
  bool ReadRotationPoints(Point& a, Point& b, std::string& error) override;
  PathAt StartPath() override;
  PathAt EndPath() override;
  bool StopTicked() override;
  void ShowError(const std::string& text) override;
  void ReadLiveControls(SeriesControls& controls) override;

  ProgramState& state_;
  DrawingRun& run_;
  Host& host_;
  const AnimationPointsWindow* animation_points_ = nullptr;
  std::optional<std::array<const QLineEdit*, 4>> rotation_fields_;

  QSlider* tbFrames_ = nullptr;
  QLabel* labelFrames_ = nullptr;
  QCheckBox* cbTTTTOffset_ = nullptr;
  QSlider* tbAnimationOffset_ = nullptr;
  QLabel* labelAnimationOffset_ = nullptr;
  QSlider* tbAnimationStartFrame_ = nullptr;
  QLabel* labelAnimationStartFrame_ = nullptr;
  QPushButton* btnSecretButton_ = nullptr;
  QCheckBox* cbStopMakingFrames_ = nullptr;
  QLabel* panelAnimationNE_ = nullptr;
  QProgressBar* pbAnimationFrames_ = nullptr;
  std::vector<RowControls> rows_;

  QTimer* frame_timer_ = nullptr;
  std::optional<SeriesStepper> series_;
  std::string series_error_;
};

}  // namespace quorl
