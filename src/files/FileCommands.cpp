// Open, Save As and the parameter dialogs of the editor window.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "document/TDynoforgeWindow.h"

namespace dyno {

QString TDynoforgeWindow::StartFolder() {
  const EditorDocument& doc = State().Doc;
  if (!doc.FileFolder.empty()) QDir::setCurrent(QFile::decodeName(doc.FileFolder.c_str()));
  return QDir::currentPath();
}

void TDynoforgeWindow::TakeChosenFile(const QString& path) {
  EditorDocument& doc = State().Doc;
  const QFileInfo file(path);
  const QString folder = file.absolutePath();
  doc.FilePath = QFile::encodeName(file.absoluteFilePath()).toStdString();
  doc.FileTitle = QFile::encodeName(file.fileName()).toStdString();
  doc.FileFolder = doc.WorkFolder = QFile::encodeName(folder).toStdString();
  QDir::setCurrent(folder);
}

void TDynoforgeWindow::OpenPhysicsFile() {}

bool TDynoforgeWindow::SaveAsPhysicsFile() { return false; }

void TDynoforgeWindow::EditParameters() {}

}  // namespace dyno
