// A stand-in for xinput1_4.dll under Wine, whose own reports no controller: one pad on the
// first port, idle but for X held from its 30th to its 40th read. The Wine console test
// puts it beside a copy of the game, where the game loads it in place of the system's.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <xinput.h>

extern "C" __declspec(dllexport) DWORD WINAPI XInputGetState(DWORD user, XINPUT_STATE* state) {
  static DWORD reads = 0;
  if (user != 0) return ERROR_DEVICE_NOT_CONNECTED;
  ++reads;
  ZeroMemory(state, sizeof *state);
  state->dwPacketNumber = reads;
  if (reads >= 30 && reads < 40) state->Gamepad.wButtons = XINPUT_GAMEPAD_X;
  return ERROR_SUCCESS;
}
