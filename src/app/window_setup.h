// What the two windows share: their title, font, frame and place on the
// screen, and the modal error box.
#pragma once

#include <string>

class QWidget;

namespace qm {

// Titles the window "Quillmoder", fixes its size and places it. Positions and
// sizes are those of the outer frame; the client area is what is left inside a
// 3-pixel border and a 19-pixel caption, and the window manager draws its own
// frame around that.
void SetUpWindow(QWidget& window, int x, int y, int frameWidth, int frameHeight);

// Opens a box over `parent` (modal to it) with the text, the title, an OK
// button and the error icon. Returns at once; the box deletes itself when
// closed, and goes with its parent.
void ShowErrorBox(QWidget* parent, const std::string& text, const std::string& title);

}  // namespace qm
