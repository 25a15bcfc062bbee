#pragma once
// Glue shared by the SDL implementation files of the backend. Nothing outside
// engine/backend includes this header.
#include <cstdint>
#include <memory>

#include "engine/backend/video.h"

struct SDL_Window;

namespace backend::sdl {

// The PC set-1 scan code of an SDL scancode; 0 for keys the table leaves out.
std::uint8_t ScanCodeFromSdl(int sdlScancode);

// The render device of a window (sdl_render_device.cpp).
std::unique_ptr<IRenderDevice> CreateRenderDevice(SDL_Window* window);

// The event pump reports renderer events here; each device compares the count
// with the one it last reset at and then asks for a reset.
void NoteRenderTargetsReset();
std::uint32_t RenderTargetsResetCount();

// The event pump saw SDL_QUIT: SIGINT, SIGTERM or the last window closing.
void NoteQuitEvent();

// While the video system runs, SIGHUP (the terminal went away) is passed on as
// SIGTERM, so that it closes the game as SIGTERM does. A SIGHUP that was
// ignored when the video system started stays ignored.
void InstallHangupHandler();
void RemoveHangupHandler();

}  // namespace backend::sdl
