#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <span>

#include "core/app/VersionResource.h"

class QLabel;

namespace dyno {

// "About Dynoforge": the program's name, its version and its legal notice,
// read from the program's version resource when the dialog opens, so a new
// build never needs the dialog edited.
class TDynoforgeAboutDlg : public QDialog {
  Q_OBJECT

 public:
  // resource: the version resource to show (the program's own by default).
  explicit TDynoforgeAboutDlg(QWidget* parent = nullptr,
                              std::span<const VersionResourceEntry> resource = ProgramVersionResource());

  // Where the dialog goes on a screen of the given size: x = (screen width -
  // width) / 2 and y likewise, rounded toward zero, where width = right -
  // left + 1 and height = bottom - top + 1 of its outer rectangle.
  static QPoint CentredPosition(const QSize& screen, const QRect& outer);

  QLabel* VersionText() const { return version_; }    // 22001
  QLabel* NoticeText() const { return notice_; }      // 22002
  QLabel* SpecialBuildText() const { return special_; }  // 22003

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SetupWindow();

  std::span<const VersionResourceEntry> resource_;
  QLabel* version_ = nullptr;
  QLabel* notice_ = nullptr;
  QLabel* special_ = nullptr;
};

}  // namespace dyno
