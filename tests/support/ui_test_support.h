// Shared by the window tests: dialogs that answer without a modal box, and
// mouse events sent straight to a widget.
#pragma once

#include <QApplication>
#include <QColor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>

#include "base/host.h"
#include "settings/parameter_set.h"
#include "settings/settings_file.h"
#include "ui/dialogs.h"

namespace quorl::test {

class RecordingDialogs : public Dialogs {
 public:
  RecordingDialogs() { InstallDialogs(this); }
  ~RecordingDialogs() override { InstallDialogs(nullptr); }

  void ShowMessage(QWidget* parent, const QString& text) override {
    messages << text;
    if (auto* field = qobject_cast<QLineEdit*>(parent)) colours << field->palette().color(QPalette::Base);
  }
  QString OpenFile(QWidget*, const QString& title, const QString& folder, const QString& filter) override {
    open_requests << (title + "|" + folder + "|" + filter);
    return file_answer;
  }
  QString ChooseFolder(QWidget*, const QString&, const QString& folder) override {
    folder_requests << folder;
    return folder_answer;
  }

  SaveChoice AskSaveFirst(QWidget*, bool& stop_asking) override {
    ++save_questions;
    stop_asking = stop_asking_answer;
    return save_answer;
  }
  QColor ChooseColour(QWidget*, const QString&, const QColor& initial) override {
    colour_requests << initial;
    return colour_answer;
  }
  void OpenFolder(const QString& folder) override { opened_folders << folder; }
  QString SaveFile(QWidget*, const QString&, const QString&, const QString&, const QString&,
                   const QString&) override {
    return save_file_answer;
  }
  RecoveryAnswer AskRecovery(QWidget*, const QString& text) override {
    recovery_questions << text;
    return recovery_answer;
  }

  int save_questions = 0;
  SaveChoice save_answer = SaveChoice::Cancel;
  bool stop_asking_answer = false;
  QList<QColor> colour_requests;
  QColor colour_answer;
  QStringList opened_folders;
  QStringList messages;
  QList<QColor> colours;  // the field's background while its message was up
  QStringList open_requests;
  QStringList folder_requests;
  QString file_answer;
  QString folder_answer;
  QString save_file_answer;
  QStringList recovery_questions;
  RecoveryAnswer recovery_answer = RecoveryAnswer::Later;
};

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}
inline void Press(QWidget* w, QPoint pos) {
  SendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}
inline void MoveHeld(QWidget* w, QPoint pos) {
  SendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}
inline void Release(QWidget* w, QPoint pos) {
  SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

// Points the program's own settings file, picture folder and state folder
// (history, autosave) into `folder`,
// away from the user's files and from the other test programs.
inline void UseSettingsFolder(const QString& folder) {
  qputenv("QUORL_SETTINGS", (folder + "/quorl.ini").toUtf8());
  qputenv("XDG_PICTURES_DIR", (folder + "/Pictures").toUtf8());
  qputenv("QUORL_STATE_DIR", (folder + "/state").toUtf8());
}

// A settings file holding `p` under `style`, which it names as current.
inline bool WriteStyleFile(const ParameterSet& p, const std::string& style, const QString& path) {
  return WriteIniFileTo(p, WindowLayout{}, style, path.toStdString()) &&
         WriteIniCurrentStyle(style, nullptr, path.toStdString());
}

}  // namespace quorl::test
