#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quorl {

void Dialogs::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QStringLiteral("Quorl"), text, QMessageBox::Ok);
}

QString Dialogs::OpenFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString Dialogs::ChooseFolder(QWidget* parent, const QString& title, const QString& folder) {
  return QFileDialog::getExistingDirectory(parent, title, folder);
}

namespace {
Dialogs g_real_dialogs;
Dialogs* g_dialogs = &g_real_dialogs;
}  // namespace

Dialogs& CurrentDialogs() { return *g_dialogs; }

void InstallDialogs(Dialogs* dialogs) { g_dialogs = dialogs ? dialogs : &g_real_dialogs; }

}  // namespace quorl
