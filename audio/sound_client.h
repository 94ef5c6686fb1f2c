#pragma once
// The Game's handle on the process-wide synthesiser.

namespace veldra {

// Requests through the client are accepted while `engineOpen` is set; it holds one open
// of the AudioEngine while set.
struct SoundClient {
  bool engineOpen = false;
};

// Appends a tone that glides from startHz to endHz over `seconds` at `volume` (0..1).
// Fire-and-forget: nothing waits for the sound.
void playSound(SoundClient& client, double startHz, double endHz, double seconds, double volume);

// Drops every sounding voice; what the device already holds still plays out (about 93 ms).
void stopAllSounds();

// Closes the engine once for this client; later requests through it are ignored.
void closeSoundClient(SoundClient& client);

}  // namespace veldra
