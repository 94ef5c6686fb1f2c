// Keyboard state on a POSIX terminal.

#include "platform/keyboard.h"
#include "platform/terminal/terminal_session.h"

namespace veldra::platform {

void readKeyboard() { terminal::enterPlayMode(); }

std::uint16_t asyncKeyState(int) { return 0; }

}  // namespace veldra::platform
