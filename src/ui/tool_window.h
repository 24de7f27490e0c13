// What the tool windows share: they stay on top of the main window, take
// their size from their layout (so nothing is cut off whatever the font or
// scale), take their stored position, visibility and folded state when the
// main window creates them, and fold to their top row with a ":)" button.
#pragma once

#include <QWidget>

class QHBoxLayout;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

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
  // A stored height at or below this means the window was folded.
  static constexpr int kFoldedHeight = 50;

  ToolWindow(const QString& object_name, const QString& caption, QWidget* parent = nullptr);

  // Position, visibility and folded state from the layout; the height
  // itself always comes from the window's own layout.
  void ApplyStoredGeometry(const WindowLayout& layout, const StoredGeometry& geometry);
  // The live position and visibility into the layout, with the height a
  // folded window stores (kFoldedHeight) or the laid-out height.
  void StoreGeometry(WindowLayout& layout, const StoredGeometry& geometry) const;

  // Visible windows are only raised.
  void ShowAndRaise();

  // ":)": folded to its top row, or unfolded again.
  void ToggleFolded();
  void SetFolded(bool folded);
  bool Folded() const { return folded_; }

  QPushButton* FoldButton() const { return fold_button_; }

  // The window takes the size its contents ask for, as high as the screen
  // allows; below that its body scrolls.
  void FitToScreen();
  // A lower limit than the screen's, kept for later fits (0: none).
  void LimitHeight(int limit);
  QScrollArea* BodyScroller() const { return scroller_; }

 protected:
  // Gives the controls their help the first time the window is shown, when
  // the window's own constructor has made them all.
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

  // The top row, which stays when the window is folded; the fold button
  // sits at its right end.
  QHBoxLayout* Header() const { return header_; }
  // Everything below the top row.
  QVBoxLayout* Body() const { return body_; }
  QWidget* BodyWidget() const { return body_widget_; }

 private:
  QHBoxLayout* header_;
  QVBoxLayout* body_;
  int AvailableHeight() const;

  int height_limit_ = 0;

  QWidget* body_widget_;
  QScrollArea* scroller_;
  QPushButton* fold_button_;
  bool folded_ = false;
};

}  // namespace quorl
