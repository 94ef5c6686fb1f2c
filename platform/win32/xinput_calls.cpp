// The Windows calls of the pad: XInput, loaded at the first read. Only the system's and the
// pad reading's headers here (the game's console record and windows.h's share a name).

#include "platform/win32/windows_headers.h"

#include <xinput.h>

#include <algorithm>

#include "platform/pad_reading.h"
#include "platform/win32/win32_calls.h"

namespace veldra::platform::win32 {

// ---- the pad: XInput's first controller, from xinput1_4.dll (else xinput9_1_0.dll) ----

namespace {

using XInputGetStateCall = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

XInputGetStateCall loadXInput() {
  for (const char* name : {"xinput1_4.dll", "xinput9_1_0.dll"}) {
    if (HMODULE library = ::LoadLibraryA(name)) {
      // Through void (*)(): the one function type every other converts to without a warning.
      if (FARPROC call = ::GetProcAddress(library, "XInputGetState")) {
        return reinterpret_cast<XInputGetStateCall>(reinterpret_cast<void (*)()>(call));
      }
    }
  }
  return nullptr;
}

// XInput's button bits, in PadButton's order (no guide button: it is Windows's own).
constexpr WORD kXInputButtons[kPadButtonCount] = {
    XINPUT_GAMEPAD_A,           XINPUT_GAMEPAD_B,             XINPUT_GAMEPAD_X,
    XINPUT_GAMEPAD_Y,           XINPUT_GAMEPAD_BACK,          0,
    XINPUT_GAMEPAD_START,       XINPUT_GAMEPAD_LEFT_THUMB,    XINPUT_GAMEPAD_RIGHT_THUMB,
    XINPUT_GAMEPAD_LEFT_SHOULDER, XINPUT_GAMEPAD_RIGHT_SHOULDER, XINPUT_GAMEPAD_DPAD_UP,
    XINPUT_GAMEPAD_DPAD_DOWN,   XINPUT_GAMEPAD_DPAD_LEFT,     XINPUT_GAMEPAD_DPAD_RIGHT};

// XInput's sticks point up positive, SDL's down: the reading follows SDL's.
std::int16_t downwards(SHORT up) { return static_cast<std::int16_t>(std::max(-32767, -static_cast<int>(up))); }
std::int16_t trigger(BYTE value) { return static_cast<std::int16_t>(value * 32767 / 255); }

PadReading readingOf(const XINPUT_GAMEPAD& pad) {
  PadReading reading;
  reading.present = true;
  for (int b = 0; b < kPadButtonCount; ++b) {
    reading.buttons[b] = kXInputButtons[b] != 0 && (pad.wButtons & kXInputButtons[b]) != 0;
  }
  reading.axes[static_cast<int>(PadAxis::LeftX)] = pad.sThumbLX;
  reading.axes[static_cast<int>(PadAxis::LeftY)] = downwards(pad.sThumbLY);
  reading.axes[static_cast<int>(PadAxis::RightX)] = pad.sThumbRX;
  reading.axes[static_cast<int>(PadAxis::RightY)] = downwards(pad.sThumbRY);
  reading.axes[static_cast<int>(PadAxis::LeftTrigger)] = trigger(pad.bLeftTrigger);
  reading.axes[static_cast<int>(PadAxis::RightTrigger)] = trigger(pad.bRightTrigger);
  return reading;
}

}  // namespace

PadReading readXInputPad() {
  static const XInputGetStateCall getState = loadXInput();
  for (DWORD user = 0; getState != nullptr && user < XUSER_MAX_COUNT; ++user) {
    XINPUT_STATE state{};
    if (getState(user, &state) == ERROR_SUCCESS) return readingOf(state.Gamepad);
  }
  return PadReading{};
}

}  // namespace veldra::platform::win32
