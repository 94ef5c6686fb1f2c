#pragma once
// Wave output: a 16-bit mono 44,100 Hz device that plays buffers in the order written and
// reports each finished buffer by marking it done and calling the owner's signal.
// Called only by the audio engine's worker and by open/close.

#include <atomic>
#include <cstdint>

namespace veldra::platform {

struct WaveDevice;  // backend-owned

struct WaveBuffer {
  std::int16_t* samples = nullptr;
  int sampleCount = 0;
  std::atomic<bool> done{false};  // set by the device when it has played the buffer
  bool prepared = false;
};

// Called by the device (on its own thread) after it marks a buffer done.
using WaveSignal = void (*)(void* context);

// Opens the default output device. Fails (nullptr) when there is no device.
WaveDevice* waveOpen(WaveSignal signal, void* context);

// Registers a buffer with the device before its first write / after its last return.
void wavePrepare(WaveDevice* device, WaveBuffer& buffer);
void waveUnprepare(WaveDevice* device, WaveBuffer& buffer);

// Queues a prepared buffer for playing; the device owns it until it marks it done. False
// when the device can no longer play (it failed or went away): the buffer is not taken.
bool waveWrite(WaveDevice* device, WaveBuffer& buffer);

// Stops playing and hands every queued buffer back (marked done) at once.
void waveReset(WaveDevice* device);

// Closes the device; the pointer is invalid afterwards.
void waveClose(WaveDevice* device);

// One tone as the game asks for it: a glide from startHz to endHz over `seconds` at
// `volume` (0..1, the player's volume already applied).
struct SoundRequest {
  double startHz = 0.0;
  double endHz = 0.0;
  double seconds = 0.0;
  double volume = 0.0;
};

// Whether the console plays sound itself: it said so when asked (a terminal drawn in a
// browser page does). Each request then goes to it as it is made, to be heard where the
// player is, instead of through a wave device by the machine the game runs on. False on
// every other console, and while the devices are off.
bool consolePlaysSound();
void sendSoundToConsole(const SoundRequest& request);

}  // namespace veldra::platform
