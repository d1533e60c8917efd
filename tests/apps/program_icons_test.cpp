// The programs' icons: the PNG files installed for the desktop entries are
// the drawings the programs use as window icons, at every installed size.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <string>

#include "apps/desktop/program_icons.h"

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("QUORV_SOURCE_DIR");
  return dir != nullptr ? dir : QUORV_SOURCE_DIR_DEFAULT;
}

// Share of pixels whose colour or opacity differs by more than a little
// (smoothing may differ slightly between library versions).
double DifferingShare(const QImage& a, const QImage& b) {
  constexpr int Tolerance = 24;
  int differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      if (std::abs(p.red() - q.red()) > Tolerance || std::abs(p.green() - q.green()) > Tolerance ||
          std::abs(p.blue() - q.blue()) > Tolerance || std::abs(p.alpha() - q.alpha()) > Tolerance)
        ++differing;
    }
  return static_cast<double>(differing) / (a.width() * a.height());
}

}  // namespace

TEST(ProgramIcons, InstalledFilesAreTheDrawingsAtEverySize) {
  for (tProgramIcon which : {tProgramIcon::Quorvik, tProgramIcon::Quorvane}) {
    for (int size : ProgramIconSizes) {
      const std::string path = SourceDir() + "/apps/desktop/icons/" + std::to_string(size) + "/" +
                               ProgramIconName(which) + ".png";
      QImage file(QString::fromStdString(path));
      ASSERT_FALSE(file.isNull()) << path << " missing or unreadable";
      ASSERT_EQ(file.size(), QSize(size, size)) << path;
      const QImage drawn = ProgramIconImage(which, size);
      EXPECT_LT(DifferingShare(file.convertToFormat(QImage::Format_ARGB32), drawn.convertToFormat(QImage::Format_ARGB32)),
                0.02)
          << path << " no longer matches the drawing: run quorv_draw_icons";
    }
  }
}

TEST(ProgramIcons, CornersAreTransparentAndTheTwoProgramsDiffer) {
  for (int size : ProgramIconSizes) {
    const QImage raw = ProgramIconImage(tProgramIcon::Quorvik, size).convertToFormat(QImage::Format_ARGB32);
    const QImage summary = ProgramIconImage(tProgramIcon::Quorvane, size).convertToFormat(QImage::Format_ARGB32);
    for (const QImage& icon : {raw, summary}) {
      EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0) << size;
      EXPECT_EQ(icon.pixelColor(size - 1, 0).alpha(), 0) << size;
      EXPECT_EQ(icon.pixelColor(size / 2, size / 2).alpha(), 255) << size;  // on the page
    }
    EXPECT_GT(DifferingShare(raw, summary), 0.01) << size;
  }
}
