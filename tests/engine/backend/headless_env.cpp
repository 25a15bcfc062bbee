// The backend's tests run on SDL's headless drivers. The test runner sets
// them; these stand in when a test program is started by hand, and never
// override a driver chosen on purpose (an X server run, for instance).
#include <cstdlib>

namespace {

const bool kHeadless = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    return true;
}();

}  // namespace
