// Fonts named by the windows and the printed report that are not found
// on every system ("Courier New", "MS Sans Serif", "System") resolve to the
// closest installed family: the metric-compatible Liberation fonts first,
// then the common free families, then the generic family.
#pragma once

#include <QFont>
#include <QString>

// Registers the substitutions once per process; safe to call repeatedly.
void InstallFontSubstitutions();

// A font of the given family with the substitutions in place. The family
// name stays as given (QFont::family()); QFontInfo tells what it resolved to.
// pointSize <= 0 keeps the default size.
QFont SubstitutedFont(const QString& family, int pointSize = -1);
