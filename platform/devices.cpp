// The game's console, clock, process and wave-output calls, handed to the backend's devices
// or, while the devices are off (a recording checked as fast as it goes), to the null
// device: one table of calls each, chosen once at start.

#include "platform/backend/device.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/process.h"
#include "platform/wave_out.h"

namespace veldra::platform {
namespace {

constexpr DeviceCalls kBackend{
    device::start,
    device::beginPlay,
    device::stop,
    device::keyboardAvailable,
    device::readKeyboard,
    device::readMouse,
    device::readPad,
    device::tickCount,
    device::consoleWindowSize,
    device::getConsoleCursorInfo,
    device::setConsoleCursorInfo,
    device::writeConsoleCells,
    device::pictureWasCut,
    device::setConsoleCursorPosition,
    device::setConsoleTextAttribute,
    device::writeConsoleText,
    device::writeStandardOutput,
    device::sleepMilliseconds,
    device::waitForKey,
    device::waveOpen,
    device::consolePlaysSound,
    device::sendSoundToConsole,
};

// Nothing is shown or heard, nothing waits, there is no keyboard and no key is down (a
// recording's player serves the keys: frame_input.cpp decides that), the clock stands at 0
// and there is no window.
constexpr DeviceCalls kNull{
    [](Colours, const MouseLook&) {},
    [] {},
    [] {},
    [] { return false; },
    [](std::array<bool, kVirtualKeyCount>& keys) {
      keys.fill(false);
      return true;
    },
    [](FrameInput&) {},
    [](FrameInput&) {},
    []() -> std::uint32_t { return 0; },
    [](ConsoleHandle, int&, int&) { return false; },
    [](ConsoleHandle, CursorInfo&) { return false; },
    [](ConsoleHandle, const CursorInfo&) { return false; },
    [](ConsoleHandle, const CHAR_INFO*, int, int) { return false; },
    [] { return false; },
    [](ConsoleHandle, int, int) { return false; },
    [](ConsoleHandle, std::uint16_t) { return false; },
    [](ConsoleHandle, std::string_view) {},
    [](std::string_view) {},
    [](std::uint32_t) {},
    [] {},
    [](WaveSignal, void*) -> WaveDevice* { return nullptr; },
    [] { return false; },
    [](const SoundRequest&) {},
};

const DeviceCalls* active = &kBackend;

}  // namespace

void useDevices(Devices devices) { active = devices == Devices::Off ? &kNull : &kBackend; }

const DeviceCalls& devicesInUse() { return *active; }

bool getConsoleCursorInfo(ConsoleHandle output, CursorInfo& info) { return devicesInUse().getConsoleCursorInfo(output, info); }
bool setConsoleCursorInfo(ConsoleHandle output, const CursorInfo& info) {
  return devicesInUse().setConsoleCursorInfo(output, info);
}
bool writeConsoleCells(ConsoleHandle output, const CHAR_INFO* cells, int width, int height) {
  return devicesInUse().writeConsoleCells(output, cells, width, height);
}
bool pictureWasCut() { return devicesInUse().pictureWasCut(); }
bool setConsoleCursorPosition(ConsoleHandle output, int column, int row) {
  return devicesInUse().setConsoleCursorPosition(output, column, row);
}
bool setConsoleTextAttribute(ConsoleHandle output, std::uint16_t attribute) {
  return devicesInUse().setConsoleTextAttribute(output, attribute);
}
void writeConsoleText(ConsoleHandle output, std::string_view text) { devicesInUse().writeConsoleText(output, text); }
void writeStandardOutput(std::string_view text) { devicesInUse().writeStandardOutput(text); }
void sleepMilliseconds(std::uint32_t milliseconds) { devicesInUse().sleepMilliseconds(milliseconds); }
void waitForKey() { devicesInUse().waitForKey(); }
WaveDevice* waveOpen(WaveSignal signal, void* context) { return devicesInUse().waveOpen(signal, context); }
bool consolePlaysSound() { return devicesInUse().consolePlaysSound(); }
void sendSoundToConsole(const SoundRequest& request) { devicesInUse().sendSoundToConsole(request); }

// A result (a check's verdict, the usage asked for, the version) reaches standard output
// even with the devices off; with them on it goes as every other line does.
void writeResult(std::string_view text) {
  if (active == &kNull) device::writeStandardOutputBytes(text);
  else writeStandardOutput(text);
}

}  // namespace veldra::platform
