#include "platform/fonts.h"

#include <QStringList>

namespace {

// Monospaced families in order of preference; Liberation Mono has the
// metrics of Courier New, so report columns keep their widths.
const QStringList kMonospacedFallbacks = {"Liberation Mono", "Cousine", "DejaVu Sans Mono",
                                          "FreeMono", "Nimbus Mono PS", "Monospace"};
// Proportional sans-serif families for the windows' own fonts.
const QStringList kSansFallbacks = {"Liberation Sans", "Arimo", "DejaVu Sans", "FreeSans",
                                    "Sans Serif"};

bool IsMonospacedName(const QString& family) {
  return family.compare("Courier New", Qt::CaseInsensitive) == 0 ||
         family.compare("Courier", Qt::CaseInsensitive) == 0;
}

}  // namespace

void InstallFontSubstitutions() {
  static const bool installed = [] {
    QFont::insertSubstitutions("Courier New", kMonospacedFallbacks);
    QFont::insertSubstitutions("Courier", kMonospacedFallbacks);
    QFont::insertSubstitutions("MS Sans Serif", kSansFallbacks);
    QFont::insertSubstitutions("System", kSansFallbacks);
    return true;
  }();
  (void)installed;
}

QFont SubstitutedFont(const QString& family, int pointSize) {
  InstallFontSubstitutions();
  QFont font(family);
  if (IsMonospacedName(family)) {
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  } else {
    font.setStyleHint(QFont::SansSerif);
  }
  if (pointSize > 0) font.setPointSize(pointSize);
  return font;
}
