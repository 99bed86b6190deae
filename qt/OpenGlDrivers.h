#pragma once
// The game paints every picture in software and hands it over in shared
// memory: it needs no OpenGL driver on any display.

namespace tumblara {

// Call before the application object exists. On Wayland it keeps Qt from
// loading its EGL buffer integration, and with it Mesa's driver and LLVM
// (some 50 MiB and 30 libraries), just to ask whether a window may draw its
// own title bar. No window here has one. A value the user set is kept; X11
// reads nothing of it.
void LeaveOpenGlDriversUnloaded();

}  // namespace tumblara
