// Every message box and file dialog of the window goes through here, so the
// tests can answer them without a real modal box.
#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace quorl {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box with an OK button.
  virtual void ShowMessage(QWidget* parent, const QString& text);
  // An existing file chosen by the user, or an empty string on cancel.
  virtual QString OpenFile(QWidget* parent, const QString& title, const QString& folder,
                           const QString& filter);
  // An existing folder chosen by the user, or an empty string on cancel.
  virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& folder);
  // A file name to save to, or an empty string on cancel. The dialog starts
  // in `folder` with `proposed_name`, adds `default_suffix` to a name
  // without one, and does not ask about overwriting: the caller does.
  virtual QString SaveFile(QWidget* parent, const QString& title, const QString& folder,
                           const QString& proposed_name, const QString& filter,
                           const QString& default_suffix);
  // A warning box with the buttons Yes and No; true only for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& text);

  // "Save the picture first?" with Save, Discard and Cancel, and a check box
  // that turns the question off; `stop_asking` says whether it was ticked.
  enum class SaveChoice { Save, Discard, Cancel };
  virtual SaveChoice AskSaveFirst(QWidget* parent, bool& stop_asking);
  // At start, after a session that did not end cleanly: restore its last
  // autosave, discard it, or ask again at the next start.
  enum class RecoveryAnswer { Restore, Discard, Later };
  virtual RecoveryAnswer AskRecovery(QWidget* parent, const QString& text);
  // The colour dialog starting at `initial`; an invalid colour on cancel.
  virtual QColor ChooseColour(QWidget* parent, const QString& title, const QColor& initial);
  // Shows a folder in the desktop's file manager.
  virtual void OpenFolder(const QString& folder);
};

// The dialogs in force; real Qt dialogs unless a test installed its own.
Dialogs& CurrentDialogs();

// Installs `dialogs` (not owned) until the next call; nullptr restores the
// real ones.
void InstallDialogs(Dialogs* dialogs);

}  // namespace quorl
