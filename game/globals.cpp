// Every global component is defined here and nowhere else, so that their
// construction follows this order and their destruction the reverse. The
// components of the shop floor, the heroine, the session and the front end take
// their places around the input devices as they are built.
#include "game/globals.h"

CHintManager g_hintManager;
CInputDevices g_inputDevices;
