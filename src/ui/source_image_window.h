// "Source image": the picture dots can take their colours from, and how it
// is laid over the shape (per step) and over the run (overall).
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "ui/tool_window.h"

class QCheckBox;
class QLabel;
class QSlider;
class QWidget;

namespace quorl {

class CanvasCommands;
class PicturePreview;
struct ProgramState;

class SourceImageWindow : public ToolWindow {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  SourceImageWindow(ProgramState& state, CanvasCommands& commands, QWidget* parent = nullptr);

  // Every control from its parameter. The bars' handlers then write their
  // labels and store the positions back, so offsets and the threshold are
  // kept to hundredths.
  void Init();

  // "Load source image from file": asks for a file and loads it.
  void ChooseSourceImage();
  // Loads `file_name` (its type from its extension) and shows it.
  bool LoadSourceImage(const std::string& file_name);

  // By object name, e.g. "tbImageStartOffsetPerStep", "labelEndRepeatOverall".
  QSlider* Bar(const char* object_name) const;
  QLabel* ValueLabel(const char* object_name) const;
  QCheckBox* CheckBox(const char* object_name) const;
  PicturePreview* Preview() const { return preview_; }
  // The threshold bar with its caption and value label.
  bool ThresholdShown() const;

 private:
  struct BoundBar {
    QSlider* bar;
    QLabel* value;
    int ParameterSet::*whole;          // a repeat: the position itself
    double ParameterSet::*hundredths;  // an offset or the threshold: position / 100
  };
  struct Box {
    QCheckBox* box;
    bool ParameterSet::*parameter;
  };

  ParameterSet& Params() const;
  void TakeBarPosition(const BoundBar& bar);
  void UpdateThresholdVisibility();
  void ShowThreshold(bool shown);

  ProgramState& state_;
  CanvasCommands& commands_;
  std::vector<BoundBar> bars_;
  std::vector<Box> boxes_;
  QWidget* panelImageOptions_ = nullptr;
  QCheckBox* cbUseOpaquePixels_ = nullptr;
  QCheckBox* cbUseSource_ = nullptr;
  std::vector<QWidget*> threshold_controls_;
  PicturePreview* preview_ = nullptr;
};

}  // namespace quorl
