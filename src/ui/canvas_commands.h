// What the colour and picture windows ask of the main window: the canvas
// commands they trigger and the status line. The main window implements it;
// the window tests record the calls.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "base/host.h"
#include "ui/dialogs.h"

namespace quorl {

class CanvasCommands {
 public:
  virtual ~CanvasCommands() = default;
  // The Clear command: brings the canvas to ImageWidth x ImageHeight and
  // resets it to its background (colour or picture).
  virtual void ClearCanvas() = 0;
  // Resets the picture to its background at the present size and shows it.
  virtual void ResetCanvas() = 0;
  // The status line.
  virtual void ShowStatus(const std::string& message) = 0;
  // Asked before a command throws the drawn picture away; false: do nothing.
  virtual bool MaySetPictureAside() { return true; }
  // Runs `command` now, or, while a step is being drawn on the worker,
  // between that step and the next: commands that replace pictures the run
  // reads (source, background, canvas) must never meet a step half-way.
  virtual void BetweenSteps(std::function<void()> command) { command(); }
};

// Lets the picture loaders of the core report through a window: the status
// line through the commands, boxes through the dialogs layer.
class WindowHost final : public Host {
 public:
  WindowHost(QWidget* window, CanvasCommands& commands) : window_(window), commands_(commands) {}
  void ShowStatus(const std::string& message) override { commands_.ShowStatus(message); }
  void ShowMessage(const std::string& text) override {
    CurrentDialogs().ShowMessage(window_, QString::fromStdString(text));
  }

 private:
  QWidget* window_;
  CanvasCommands& commands_;
};

}  // namespace quorl
