// What the tool windows share: they stay on top of the main window, have a
// fixed border, take their stored height, position and visibility when
// the main window creates them, and fold to their top row with a ":)" button.
#pragma once

#include <QWidget>

class QPushButton;

namespace quorl {

struct ParameterSet;
struct WindowLayout;

// Where a window's geometry lives in the window layout.
struct StoredGeometry {
  int WindowLayout::*height;
  int WindowLayout::*left;
  int WindowLayout::*top;
  bool WindowLayout::*visible;
};

class ToolWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFoldedHeight = 50;

  // `full_height` is the height the ":)" button unfolds to.
  ToolWindow(const QString& object_name, const QString& caption, int width, int full_height,
             QWidget* parent = nullptr);

  // Height, left, top and visibility from the layout.
  void ApplyStoredGeometry(const WindowLayout& layout, const StoredGeometry& geometry);
  // The live height, left, top and visibility into the layout, for the
  // settings writer.
  void StoreGeometry(WindowLayout& layout, const StoredGeometry& geometry) const;

  // Visible windows are only raised.
  void ShowAndRaise();

  // ":)": folded to its top row below 51 pixels, otherwise unfolded.
  void ToggleFolded();
  void SetHeight(int height);

 protected:
  // The ":)" button, placed at the top right corner of `row`.
  QPushButton* MakeFoldButton(QWidget* row);

 private:
  int full_height_;
};

}  // namespace quorl
