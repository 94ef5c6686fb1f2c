#include "platform/terminal/sdl_pad.h"

#if __has_include(<SDL2/SDL.h>)
#include <SDL2/SDL.h>
#define VELDRA_SDL_HEADERS 1
#endif

#include "platform/terminal/shared_library.h"

namespace veldra::platform::terminal {

#ifdef VELDRA_SDL_HEADERS
namespace {

constexpr Uint32 kSubsystems = SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK;

struct Sdl {
  void* library = nullptr;
  bool open = false;
  SDL_GameController* pad = nullptr;
  int (*initSubSystem)(Uint32) = nullptr;
  SDL_bool (*setHint)(const char*, const char*) = nullptr;
  void (*pumpEvents)() = nullptr;
  void (*flushEvents)(Uint32, Uint32) = nullptr;
  int (*numJoysticks)() = nullptr;
  SDL_bool (*isGameController)(int) = nullptr;
  SDL_GameController* (*controllerOpen)(int) = nullptr;
  void (*controllerClose)(SDL_GameController*) = nullptr;
  SDL_bool (*controllerAttached)(SDL_GameController*) = nullptr;
  Uint8 (*button)(SDL_GameController*, SDL_GameControllerButton) = nullptr;
  Sint16 (*axis)(SDL_GameController*, SDL_GameControllerAxis) = nullptr;
};

Sdl& sdl() {
  static Sdl instance;
  return instance;
}

bool bindAll(Sdl& s) {
  void* l = s.library;
  return bindSymbol(l, "SDL_InitSubSystem", s.initSubSystem) && bindSymbol(l, "SDL_SetHint", s.setHint) &&
         bindSymbol(l, "SDL_PumpEvents", s.pumpEvents) && bindSymbol(l, "SDL_FlushEvents", s.flushEvents) &&
         bindSymbol(l, "SDL_NumJoysticks", s.numJoysticks) &&
         bindSymbol(l, "SDL_IsGameController", s.isGameController) &&
         bindSymbol(l, "SDL_GameControllerOpen", s.controllerOpen) &&
         bindSymbol(l, "SDL_GameControllerClose", s.controllerClose) &&
         bindSymbol(l, "SDL_GameControllerGetAttached", s.controllerAttached) &&
         bindSymbol(l, "SDL_GameControllerGetButton", s.button) &&
         bindSymbol(l, "SDL_GameControllerGetAxis", s.axis);
}

// A pad pulled out is let go of; where none is open, the first game controller is taken.
void followPlugging(Sdl& s) {
  if (s.pad != nullptr && !s.controllerAttached(s.pad)) {
    s.controllerClose(s.pad);
    s.pad = nullptr;
  }
  for (int i = 0; s.pad == nullptr && i < s.numJoysticks(); ++i) {
    if (s.isGameController(i)) s.pad = s.controllerOpen(i);
  }
}

}  // namespace

bool openSdlPads() {
  Sdl& s = sdl();
  if (s.open) return true;
  if (s.library == nullptr) s.library = openSharedLibrary("libSDL2-2.0.so.0");
  if (s.library == nullptr || !bindAll(s)) return false;
  // The terminal's signal handlers stay the game's; the pad is read with no window to focus.
  s.setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  s.setHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  s.open = s.initSubSystem(kSubsystems) == 0;
  return s.open;
}

PadReading readSdlPad() {
  PadReading reading;
  Sdl& s = sdl();
  if (!s.open) return reading;
  s.pumpEvents();
  s.flushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // read as state: the queue is never let grow
  followPlugging(s);
  if (s.pad == nullptr) return reading;
  reading.present = true;
  for (int b = 0; b < kPadButtonCount; ++b) {
    reading.buttons[b] = s.button(s.pad, static_cast<SDL_GameControllerButton>(b)) != 0;
  }
  for (int a = 0; a < kPadAxisCount; ++a) reading.axes[a] = s.axis(s.pad, static_cast<SDL_GameControllerAxis>(a));
  return reading;
}

#else  // built without SDL's headers: no pads

bool openSdlPads() { return false; }
PadReading readSdlPad() { return {}; }

#endif

}  // namespace veldra::platform::terminal
