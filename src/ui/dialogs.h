// Every message box and file dialog of the window goes through here, so the
// tests can answer them without a real modal box.
#pragma once

#include <QString>

class QWidget;

namespace quorl {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box with an OK button.
  virtual void ShowMessage(QWidget* parent, const QString& text);
  // An existing file chosen by the user, or an empty string on cancel.
  virtual QString OpenFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter);
  // An existing folder chosen by the user, or an empty string on cancel.
  virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& folder);
};

// The dialogs in force; real Qt dialogs unless a test installed its own.
Dialogs& CurrentDialogs();

// Installs `dialogs` (not owned) until the next call; nullptr restores the
// real ones.
void InstallDialogs(Dialogs* dialogs);

}  // namespace quorl
