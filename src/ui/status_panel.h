// The bottom panel of the main window: the progress bar of a drawing run
// above the one-line status line.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QStatusBar;
class QToolButton;

namespace quorl {

class StatusPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPanelHeight = 36;
  static constexpr int kProgressBarHeight = 19;

  explicit StatusPanel(QWidget* parent = nullptr);

  // Replaces the status line's message (empty clears it) and repaints at
  // once, so it shows even while a long computation holds the window.
  void ShowStatus(const QString& message);
  QString Message() const;

  // Range 0..maximum, position 0.
  void SetupProgressBar(int maximum);
  void SetProgressPosition(int position);

  QProgressBar* ProgressBar() const { return pbSteps_; }

  // A button beside the message that opens `folder` in the file manager;
  // it goes with the next message.
  void OfferFolder(const QString& folder);
  QToolButton* FolderButton() const { return open_folder_; }

 private:
  QToolButton* open_folder_;
  QString folder_;
  QProgressBar* pbSteps_;
  QStatusBar* StatusBar1_;
  QLabel* panel_;
};

}  // namespace quorl
