#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;

namespace dyno {

// The file of the user guide, in each folder it is looked for in.
inline constexpr char UserGuideFileName[] = "user-guide.md";

// The folders the user guide is looked for in, first to last: where the
// installed program keeps it (share/dynoforge/guide beside its bin folder),
// a guide folder beside a program installed by copying its folder (as on
// Windows), and the docs folder of the source tree it was built from, so a
// program run from its build folder finds it too.
QStringList UserGuideFolders();

// The guide's file in the first of folders that holds one; empty when none
// does.
QString FindUserGuide(const QStringList& folders);

// The user guide, read inside the program and offline: the guide's Markdown
// rendered with its pictures, in a window of its own beside the editor.
class GuideWindow : public QWidget {
  Q_OBJECT

 public:
  explicit GuideWindow(QWidget* parent = nullptr);

  // Shows the guide of file from its top; its pictures are read from the
  // folders beside it, and a picture wider than the window's text would be
  // is scaled down to it.
  void Load(const QString& file);
  QString File() const { return file_; }

  QTextBrowser* Browser() const { return browser_; }

 protected:
  // The pictures follow the window's width.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitPictures();

  QTextBrowser* browser_ = nullptr;
  QString file_;
};

}  // namespace dyno
