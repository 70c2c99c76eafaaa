#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "core/app/ProgramVersion.h"

class QLabel;

namespace dyno {

// "About Dynoforge": the program's name, its version and its legal notice,
// taken from the texts the build carries when the dialog opens, so a new
// build never needs the dialog edited.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  // version: the texts to show (the program's own by default; nullptr for a
  // program without version information).
  explicit AboutDialog(QWidget* parent = nullptr, const ProgramVersionInfo* version = &ThisProgramVersion());

  // Where the dialog goes on a screen of the given size: x = (screen width -
  // width) / 2 and y likewise, rounded toward zero, where width = right -
  // left + 1 and height = bottom - top + 1 of its outer rectangle.
  static QPoint CentredPosition(const QSize& screen, const QRect& outer);

  QLabel* VersionText() const { return version_; }
  QLabel* NoticeText() const { return notice_; }
  QLabel* SpecialBuildText() const { return special_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SetupWindow();

  const ProgramVersionInfo* versionInfo_;
  QLabel* version_ = nullptr;
  QLabel* notice_ = nullptr;
  QLabel* special_ = nullptr;
};

}  // namespace dyno
