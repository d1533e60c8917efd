// The two programs' icons, drawn in code in the manner of the results
// window's icon: a report page with a control band and the two cases as
// bars; Quorvik's page shows a scatter of raw scores, Quorvane's a ruled
// table of summary statistics. The PNG files installed for the desktop
// entries (apps/desktop/icons) are these drawings, written by
// quorv_draw_icons.
#pragma once

#include <QIcon>
#include <QImage>

enum class tProgramIcon { Quorvik, Quorvane };

// Edge lengths, in pixels, of the installed icon files.
constexpr int ProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon at the given edge length (drawn on a 32 x 32 grid and scaled).
QImage ProgramIconImage(tProgramIcon which, int size);

// The window icon of the program at every installed size. Needs a
// QGuiApplication.
QIcon ProgramWindowIcon(tProgramIcon which);

// The icon's file name without extension: "quorvik" or "quorvane".
const char* ProgramIconName(tProgramIcon which);
