// Wave output through ALSA.

#include "platform/wave_out.h"

namespace veldra::platform {

WaveDevice* waveOpen(WaveSignal, void*) { return nullptr; }
void wavePrepare(WaveDevice*, WaveBuffer&) {}
void waveUnprepare(WaveDevice*, WaveBuffer&) {}
void waveWrite(WaveDevice*, WaveBuffer&) {}
void waveReset(WaveDevice*) {}
void waveClose(WaveDevice*) {}

}  // namespace veldra::platform
