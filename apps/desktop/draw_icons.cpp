// quorv_draw_icons FOLDER: writes the programs' icons as PNG files,
// FOLDER/<size>/quorvik.png and FOLDER/<size>/quorvane.png for every
// installed size. The files in apps/desktop/icons were made with it:
//   cmake --build build --target quorv_draw_icons
//   build/apps/desktop/quorv_draw_icons apps/desktop/icons
#include <QDir>
#include <cstdio>

#include "apps/desktop/program_icons.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorv_draw_icons FOLDER\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (tProgramIcon which : {tProgramIcon::Quorvik, tProgramIcon::Quorvane}) {
    for (int size : ProgramIconSizes) {
      const QString sub = QString::number(size);
      if (!folder.mkpath(sub)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.filePath(sub)));
        return 1;
      }
      const QString path = folder.filePath(sub + "/" + ProgramIconName(which) + ".png");
      if (!ProgramIconImage(which, size).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
      }
      std::printf("%s\n", qPrintable(path));
    }
  }
  return 0;
}
