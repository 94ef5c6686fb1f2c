// The terminal backend's pad: SDL's game controller, opened at the first frame that reads
// it (where SDL is installed), read once a frame into the frame record.

#include "platform/backend/device.h"
#include "platform/pad.h"
#include "platform/terminal/sdl_pad.h"

namespace veldra::platform::device {

void readPad(FrameInput& input) {
  static const bool opened = terminal::openSdlPads();
  if (!opened) return;
  putPadIntoFrame(terminal::readSdlPad(), padSettings(), input);
}

}  // namespace veldra::platform::device
