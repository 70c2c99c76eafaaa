#pragma once

// Pictures checked as pictures: an image is compared pixel for pixel with
// the approved PNG under tests/data/pictures. A mismatch leaves the actual
// image and a difference image (changed pixels red, the rest faded) next to
// the build and names them.

#include <QImage>
#include <QString>

#include <string>

#include <gtest/gtest.h>

#include "support/Approval.h"

namespace dyno::test {

// The same against any reference file; a failure goes to the failure folder
// as relative.
inline void ExpectApprovedImageFile(const QImage& produced, const std::filesystem::path& file,
                                    const std::string& relative) {
  const std::string name = relative;
  const QImage actual = produced.convertToFormat(QImage::Format_ARGB32);
  const QString reference = QString::fromStdString(file.string());
  if (Approving()) {
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(actual.save(reference, "PNG"));
    return;
  }
  const QImage approved = QImage(reference).convertToFormat(QImage::Format_ARGB32);
  int differing = 0;
  QImage diff(actual.size(), QImage::Format_ARGB32);
  if (approved.size() == actual.size()) {
    for (int y = 0; y < actual.height(); ++y) {
      for (int x = 0; x < actual.width(); ++x) {
        const bool same = approved.pixel(x, y) == actual.pixel(x, y);
        differing += same ? 0 : 1;
        const int gray = qGray(actual.pixel(x, y)) / 4 + 192;
        diff.setPixel(x, y, same ? qRgb(gray, gray, gray) : qRgb(255, 0, 0));
      }
    }
    if (differing == 0) return;
  }
  const std::filesystem::path failed = FailurePath(relative);
  std::filesystem::create_directories(failed.parent_path());
  actual.save(QString::fromStdString(failed.string()), "PNG");
  std::filesystem::path diffPath = failed;
  diffPath.replace_extension(".diff.png");
  if (differing > 0) diff.save(QString::fromStdString(diffPath.string()), "PNG");
  ADD_FAILURE() << name << ": " << (approved.isNull() ? std::string("no approved picture")
                                    : approved.size() != actual.size()
                                        ? "size " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) +
                                              " instead of " + std::to_string(approved.width()) + "x" +
                                              std::to_string(approved.height())
                                        : std::to_string(differing) + " pixels differ (" + diffPath.string() + ")")
                << "; the picture made is " << failed.string();
}

inline void ExpectApprovedImage(const QImage& produced, const std::string& name) {
  const std::string relative = "pictures/" + name + ".png";
  ExpectApprovedImageFile(produced, DataPath(relative), relative);
}

}  // namespace dyno::test
