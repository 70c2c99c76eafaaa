#pragma once

// Pictures checked as pictures: an image is compared pixel for pixel with
// an approved PNG. A mismatch leaves the actual
// image and a difference image (changed pixels red, the rest faded) next to
// the build and names them.

#include <QImage>
#include <QString>

#include <string>

#include <gtest/gtest.h>

#include "support/Approval.h"

namespace dyno::test {

// An image against the approved PNG file (under tests/data/pictures, or the
// user guide's images); a failure goes to the failure folder as relative.
inline void ExpectApprovedImageFile(const QImage& produced, const std::filesystem::path& file,
                                    const std::string& relative) {
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
  const std::filesystem::path diffPath = std::filesystem::path(failed).replace_extension(".diff.png");
  if (differing > 0) diff.save(QString::fromStdString(diffPath.string()), "PNG");
  const auto size = [](const QImage& i) { return std::to_string(i.width()) + "x" + std::to_string(i.height()); };
  ADD_FAILURE() << relative << ": "
                << (approved.isNull() ? std::string("no approved picture")
                    : approved.size() != actual.size()
                        ? "size " + size(actual) + " instead of " + size(approved)
                        : std::to_string(differing) + " pixels differ (" + diffPath.string() + ")")
                << "; the picture made is " << failed.string();
}

}  // namespace dyno::test
