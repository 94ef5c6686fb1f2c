#pragma once
// The backend's own devices: what each backend implements behind the game's interface.
// Only platform/ calls these. The game asks through keyboard.h, clock.h and console.h,
// whose answers come from the frame record, and through the console, clock, process and
// wave-output calls, which platform/devices.cpp hands to the backend's devices here or,
// while the devices are off, to the null device (nothing shown, no wait, no sound).

#include <cstdint>
#include <string_view>

#include "platform/console.h"
#include "platform/frame_input.h"
#include "platform/lifetime.h"
#include "platform/mouse.h"
#include "platform/backend/wave_device.h"

namespace veldra::platform::device {

void start(Colours colours, const MouseLook& mouse);  // the devices are on
void beginPlay();
void stop();

bool keyboardAvailable();
// Reads whatever input arrived since the last call: every key's state for this frame. True
// when that state is exact (see keysExact in keyboard.h).
bool readKeyboard(std::array<bool, kVirtualKeyCount>& keys);
// The pointer's turn of the view since the last read (in kMouseTurnUnit) and whether it
// rests at the window's edge, into the record; read after the keys and the window (the
// record's window size says where the edge is). Nothing where there is no mouse, or the
// player turned it off.
void readMouse(FrameInput& input);
// The pad's buttons (as keys), presence and turn, into the record; read after the keys.
// Nothing where there is no pad, or no way to read one.
void readPad(FrameInput& input);
std::uint32_t tickCount();
bool consoleWindowSize(ConsoleHandle output, int& columns, int& rows);

// The calls of console.h, clock.h, process.h and wave_out.h of the same names.
bool getConsoleCursorInfo(ConsoleHandle output, CursorInfo& info);
bool setConsoleCursorInfo(ConsoleHandle output, const CursorInfo& info);
bool writeConsoleCells(ConsoleHandle output, const CHAR_INFO* cells, int width, int height);
bool pictureWasCut();
bool setConsoleCursorPosition(ConsoleHandle output, int column, int row);
bool setConsoleTextAttribute(ConsoleHandle output, std::uint16_t attribute);
void writeConsoleText(ConsoleHandle output, std::string_view text);
void writeStandardOutput(std::string_view text);
// Standard output as it is, whatever the devices: where a result goes with them off.
void writeStandardOutputBytes(std::string_view text);
void sleepMilliseconds(std::uint32_t milliseconds);
void waitForKey();

}  // namespace veldra::platform::device

namespace veldra::platform {

// Hands every call after it to the backend's devices, or with Devices::Off to the null
// device (platform/devices.cpp).
void useDevices(Devices devices);

// The devices' calls, one table: the backend's, or the null device's.
struct DeviceCalls {
  void (*start)(Colours, const MouseLook&);
  void (*beginPlay)();
  void (*stop)();
  bool (*keyboardAvailable)();
  bool (*readKeyboard)(std::array<bool, kVirtualKeyCount>&);
  void (*readMouse)(FrameInput&);
  void (*readPad)(FrameInput&);
  std::uint32_t (*tickCount)();
  bool (*consoleWindowSize)(ConsoleHandle, int&, int&);
  bool (*getConsoleCursorInfo)(ConsoleHandle, CursorInfo&);
  bool (*setConsoleCursorInfo)(ConsoleHandle, const CursorInfo&);
  bool (*writeConsoleCells)(ConsoleHandle, const CHAR_INFO*, int, int);
  bool (*pictureWasCut)();
  bool (*setConsoleCursorPosition)(ConsoleHandle, int, int);
  bool (*setConsoleTextAttribute)(ConsoleHandle, std::uint16_t);
  void (*writeConsoleText)(ConsoleHandle, std::string_view);
  void (*writeStandardOutput)(std::string_view);
  void (*sleepMilliseconds)(std::uint32_t);
  void (*waitForKey)();
  WaveDevice* (*waveOpen)(WaveSignal, void*);
  bool (*consolePlaysSound)();
  void (*sendSoundToConsole)(const SoundRequest&);
};

// The devices in use, as useDevices chose.
const DeviceCalls& devicesInUse();

}  // namespace veldra::platform

namespace veldra::platform {

// The record this frame's queries are answered from. The headless backend changes it when a
// test changes its devices in the middle of a frame, unless a source serves the frames.
FrameInput& currentFrameInput();
bool frameInputServed();

// The record before the first frame: the clock and the window as they are at start (a
// recording's header is taken then), no key down; all zeros while the devices are off.
void startFrameInput();

}  // namespace veldra::platform
