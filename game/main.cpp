// Entry point; the game application takes over once the framework stands.
#include "engine/backend/video.h"

int main() {
    backend::IVideo& video = backend::Video();
    if (!video.Init()) {
        return 1;
    }
    video.Quit();
    return 0;
}
