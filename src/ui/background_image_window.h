// "Background Image": a picture laid under the drawing at every reset,
// centred, stretched or tiled, loaded from a file or taken from the canvas.
#pragma once

#include <string>

#include "ui/tool_window.h"

class QCheckBox;
class QRadioButton;
class QWidget;

namespace quorl {

class CanvasCommands;
class DimensionsWindow;
class PicturePreview;
struct ProgramState;

class BackgroundImageWindow : public ToolWindow {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  // `dimensions` (may be null) shows the canvas size after Apply.
  BackgroundImageWindow(ProgramState& state, CanvasCommands& commands, DimensionsWindow* dimensions,
                        QWidget* parent = nullptr);

  // The check boxes and the placement from the parameters.
  void Init();

  // "Load background image from file": asks for a file, loads it, and
  // applies it when "Use background image?" is checked.
  void ChooseBackgroundImage();
  bool LoadBackgroundImage(const std::string& file_name);
  // "Use current canvas as background" (also the main menu's "Set canvas as
  // background").
  void UseCurrentAsBackground();
  // "Apply": fits the canvas to the picture when asked, clears it (which
  // lays the picture under it) and shows the size in Image dimensions.
  void ApplyBackground();

  QCheckBox* CheckBox(const char* object_name) const;
  QRadioButton* Radio(const char* object_name) const;
  PicturePreview* Preview() const { return preview_; }

 private:
  ParameterSet& Params() const;
  void UpdateBackgroundPosition();
  void ShowLoadedPicture();

  ProgramState& state_;
  CanvasCommands& commands_;
  DimensionsWindow* dimensions_;
  QWidget* panelBackgroundImageOptions_ = nullptr;
  QCheckBox* cbUseBackgroundImage_ = nullptr;
  QCheckBox* cbBackgroundImageResizeCanvas_ = nullptr;
  QRadioButton* rbCentered_ = nullptr;
  QRadioButton* rbStretched_ = nullptr;
  QRadioButton* rbTiled_ = nullptr;
  PicturePreview* preview_ = nullptr;
};

}  // namespace quorl
