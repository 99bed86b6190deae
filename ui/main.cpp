// Tumblara: the main window is the program's only start-up object. The
// platform brings the window system up, makes it, shows it and runs.

#include "ui/frmGame.h"

int main(int argc, char** argv) {
    return tumblara::RunPlatform(argc, argv, [](tumblara::WindowSystem& finestre) {
        return std::make_unique<tumblara::frmGame>(finestre);
    });
}
