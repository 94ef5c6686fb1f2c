#pragma once
// The backend's own devices behind the game's keyboard, clock and window queries. Only
// platform/ calls these: the game asks through keyboard.h, clock.h and console.h, whose
// answers come from here unless a frame-input source stands in (frame_input.h).

#include <cstdint>

#include "platform/console.h"

namespace veldra::platform::device {

bool keyboardAvailable();
void readKeyboard();
std::uint16_t asyncKeyState(int virtualKey);
std::uint32_t tickCount();
bool consoleWindowSize(ConsoleHandle output, int& columns, int& rows);

}  // namespace veldra::platform::device
