// Windows of a fixed size on a screen that may be too small for them (a
// small display, or a large display scale). A window that fits the
// screen's free area keeps its size and stands in the middle; one that
// does not is placed at the area's top left, inside it, and its content
// scrolls.
#pragma once

#include <QSize>

class QScrollArea;
class QWidget;

// Room a window manager's frame (title bar and borders) takes, in device-
// independent pixels, kept free when a window must be shrunk.
inline constexpr int FrameAllowanceWidth = 16;
inline constexpr int FrameAllowanceHeight = 48;

// A frameless scroll area for content of a fixed size: no bars while the
// whole content is in view.
QScrollArea* NewContentScroller(QWidget* content, QWidget* parent);

// True when a window needing size fits the primary screen's free area.
bool FitsOnScreen(QSize size);

// Sizes and places a top-level window whose whole content needs size:
// that fixed size in the middle of the primary screen's free area when it
// fits, else as much as fits (the window may be resized up to size) at
// the area's top left.
void PlaceOnScreen(QWidget& window, QSize size);
