// The Windows backend's pad: XInput's first controller, read once a frame into the record.

#include "platform/backend/device.h"
#include "platform/pad.h"
#include "platform/pad_reading.h"
#include "platform/win32/win32_calls.h"

namespace veldra::platform::device {

void readPad(FrameInput& input) { putPadIntoFrame(win32::readXInputPad(), padSettings(), input); }

}  // namespace veldra::platform::device
