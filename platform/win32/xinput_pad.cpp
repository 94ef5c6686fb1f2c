// The Windows backend's pad: XInput's first controller, from xinput1_4.dll (else the older
// xinput9_1_0.dll), loaded at the first frame that reads it; without either, no pad.

#include "platform/win32/windows_headers.h"

#include <xinput.h>

#include <algorithm>

#include "platform/backend/device.h"
#include "platform/pad.h"
#include "platform/pad_reading.h"

namespace veldra::platform::device {
namespace {

using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

GetState loadXInput() {
  for (const char* name : {"xinput1_4.dll", "xinput9_1_0.dll"}) {
    if (HMODULE library = ::LoadLibraryA(name)) {
      if (FARPROC call = ::GetProcAddress(library, "XInputGetState")) return reinterpret_cast<GetState>(call);
    }
  }
  return nullptr;
}

// XInput's button bits, in PadButton's order (no guide button: it is Windows's own).
constexpr WORD kButtonBits[kPadButtonCount] = {
    XINPUT_GAMEPAD_A,          XINPUT_GAMEPAD_B,           XINPUT_GAMEPAD_X,         XINPUT_GAMEPAD_Y,
    XINPUT_GAMEPAD_BACK,       0,                          XINPUT_GAMEPAD_START,     XINPUT_GAMEPAD_LEFT_THUMB,
    XINPUT_GAMEPAD_RIGHT_THUMB, XINPUT_GAMEPAD_LEFT_SHOULDER, XINPUT_GAMEPAD_RIGHT_SHOULDER, XINPUT_GAMEPAD_DPAD_UP,
    XINPUT_GAMEPAD_DPAD_DOWN,  XINPUT_GAMEPAD_DPAD_LEFT,   XINPUT_GAMEPAD_DPAD_RIGHT};

// XInput's sticks point up positive, SDL's down: the reading follows SDL's.
std::int16_t downwards(SHORT up) { return static_cast<std::int16_t>(std::max(-32767, -static_cast<int>(up))); }
std::int16_t trigger(BYTE value) { return static_cast<std::int16_t>(value * 32767 / 255); }

PadReading readingOf(const XINPUT_GAMEPAD& pad) {
  PadReading reading;
  reading.present = true;
  for (int b = 0; b < kPadButtonCount; ++b) reading.buttons[b] = kButtonBits[b] != 0 && (pad.wButtons & kButtonBits[b]);
  reading.axes[static_cast<int>(PadAxis::LeftX)] = pad.sThumbLX;
  reading.axes[static_cast<int>(PadAxis::LeftY)] = downwards(pad.sThumbLY);
  reading.axes[static_cast<int>(PadAxis::RightX)] = pad.sThumbRX;
  reading.axes[static_cast<int>(PadAxis::RightY)] = downwards(pad.sThumbRY);
  reading.axes[static_cast<int>(PadAxis::LeftTrigger)] = trigger(pad.bLeftTrigger);
  reading.axes[static_cast<int>(PadAxis::RightTrigger)] = trigger(pad.bRightTrigger);
  return reading;
}

}  // namespace

void readPad(FrameInput& input) {
  static const GetState getState = loadXInput();
  PadReading reading;
  for (DWORD user = 0; getState != nullptr && user < XUSER_MAX_COUNT && !reading.present; ++user) {
    XINPUT_STATE state{};
    if (getState(user, &state) == ERROR_SUCCESS) reading = readingOf(state.Gamepad);
  }
  putPadIntoFrame(reading, padSettings(), input);
}

}  // namespace veldra::platform::device
