// "Colors": the start, end and background colours with their swatches, the
// colour multipliers and amounts, and how colour combines with the canvas.
#pragma once

#include <QString>
#include <vector>

#include "ui/tool_window.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace quorl {

class CanvasCommands;
class NumericField;
struct ProgramState;

class ColorsWindow : public ToolWindow {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  enum class Swatch { Start, End, Bg };

  // Takes its stored geometry, then fills its controls.
  ColorsWindow(ProgramState& state, CanvasCommands& commands, QWidget* parent = nullptr);

  // Every control from its parameter; the bars' handlers then store the
  // (clamped) positions back and paint the swatches.
  void Init();

  // The swatch shows its three colour parameters, captioned in the grey
  // that contrasts with them.
  void UpdateSwatch(Swatch which);

  // A click on a swatch: the colour dialog, starting at the swatch's
  // colour; the chosen colour moves the three bars (and so the parameters).
  void ChooseSwatchColour(Swatch which);

  // "Set": the canvas is reset so a new background colour shows at once.
  void ResetCanvasCommand();

  // By parameter name, e.g. "BgMaxRed".
  QSlider* Bar(const char* key) const;
  QLabel* ValueLabel(const char* key) const;
  QLabel* SwatchLabel(Swatch which) const;
  NumericField* Field(const char* key) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ColourBar {
    const char* key;
    int ParameterSet::*parameter;
    Swatch swatch;
    QSlider* bar;
    QLabel* value;
  };
  struct Box {
    QCheckBox* box;
    bool ParameterSet::*parameter;
  };

  ParameterSet& Params() const;
  void TakeBarPosition(const ColourBar& bar);
  void UpdateWhite();
  void UpdateNewColor();

  ProgramState& state_;
  CanvasCommands& commands_;
  std::vector<ColourBar> bars_;
  std::vector<std::pair<const char*, NumericField*>> fields_;
  std::vector<Box> boxes_;
  QLabel* swatches_[3] = {};
  QCheckBox* cbNewColor_ = nullptr;
  QCheckBox* cbOneOrTwo_ = nullptr;
  QRadioButton* rbColorAdd_ = nullptr;
  QRadioButton* rbColorSubtract_ = nullptr;
  QRadioButton* cbBestGuess_ = nullptr;
};

}  // namespace quorl
