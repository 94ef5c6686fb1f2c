#pragma once
// The backend's wave-output device (apart from device.h, whose console types the Windows
// headers' own would clash with).

#include "platform/wave_out.h"

namespace veldra::platform::device {

// The call of wave_out.h of the same name.
WaveDevice* waveOpen(WaveSignal signal, void* context);

// The calls of wave_out.h of the same names.
bool consolePlaysSound();
void sendSoundToConsole(const SoundRequest& request);

}  // namespace veldra::platform::device
