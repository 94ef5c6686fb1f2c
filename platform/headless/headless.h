#pragma once
// The headless backend: the whole game runs against it in tests, on a fake clock, with
// scripted keys, captured frames and text, and a wave device that only plays when told.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/pad_reading.h"
#include "platform/wave_out.h"

namespace veldra::platform::headless {

void reset();                                  // all keys up, tick 0, no console (80 x 25 frames),
                                               // wave device available and stalled, rand15 seed 1,
                                               // devices on, no frame-input observer or source
// What the next seven set is what the very next query answers, even in the middle of a
// frame: the frame record follows them, unless a recording's player serves the frames.
void setKeyDown(int virtualKey, bool down);
void setKeysExact(bool exact);                 // false: a terminal that only sends characters
void setMouseTurn(std::int32_t units);         // the pointer's turn (kMouseTurnUnit) for the next frame
void setPointerEdge(int edge);                 // -1, 0, +1: where the pointer rests
void setPad(const PadReading& pad);            // the pad as its backend read it (none after reset)
void setTickCount(std::uint32_t milliseconds);
void setWindowSize(int columns, int rows);     // console queries succeed with this visible window
void setNoConsole();                           // console queries fail
void setAudioDeviceAvailable(bool available);  // when false, opening the wave device fails
void setConsolePlaysSound(bool plays);         // a console that plays the sounds itself
const std::vector<SoundRequest>& consoleSounds();  // what it was sent since reset()
int frameWrites();                             // whole-frame cell writes since reset()

// Runs at every read of the keys, that is once at the top of every frame (beginFrame, while
// the devices are on): a test scripts its keys here (the argument counts the calls since
// reset(), from 0).
void setInputScript(std::function<void(int frame)> script);

// Everything written to standard output (and to standard error) since reset().
const std::string& standardOutput();
const std::string& standardError();

// The last frame written with writeConsoleCells.
const std::vector<CHAR_INFO>& lastFrame();
int lastFrameWidth();
int lastFrameHeight();
// A digest of every frame written with writeConsoleCells since reset(): each frame's shape
// and each cell's character and colours, in order.
std::uint64_t picturesDigest();

// Text written to standard output while a console exists, with where and how it was drawn.
struct ConsoleText {
  int column;
  int row;
  std::uint16_t attribute;
  std::string text;
};
const std::vector<ConsoleText>& consoleTexts();  // since reset()
bool cursorVisible();
int cursorColumn();
int cursorRow();
std::uint16_t textAttribute();

int waitForKeyCalls();
std::uint64_t millisecondsSlept();

// exitProcess() throws this instead of ending the test program.
struct ProcessExit {
  int status;
};

// The wave device: buffers written by the engine wait here until a test finishes them.
int queuedWaveBuffers();
bool waveDeviceOpen();
// Marks the oldest queued buffer done (signalling the engine) and returns its samples;
// false when none is queued.
bool finishWaveBuffer(std::vector<std::int16_t>* samples = nullptr);

// Device faults. A device whose writes fail (from now on, or from its open); and one that
// vanishes: it hands back what it held, unplayed, and refuses every later write. A device
// that stops signalling is the stalled device itself: it never finishes a buffer.
void setWaveWritesFail(bool fail);
void vanishWaveDevice();

}  // namespace veldra::platform::headless
