#pragma once
// Whether a display can show the window at all. Qt aborts with a page of
// advice when none answers; the program says it in one line instead.

namespace tumblara {

// True when a platform was named, a Wayland display is set, or the X
// display in DISPLAY accepts a connection.
bool DisplayDisponibile();

}  // namespace tumblara
