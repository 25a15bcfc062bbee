// The program's entry: one application object lives for the whole run. The
// command line is not read.
#include "game/game_app.h"

int main() {
    CGameApp app;
    if (Failed(app.Create())) {
        return 0;
    }
    return app.Run();
}
