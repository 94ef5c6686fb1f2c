// Prints the keys a recorded game saw, one line per frame: the frame's number, then the
// virtual-key codes held in it (the mouse's buttons are 1 and 2), then "turn=N" where the
// mouse turned the view (in millionths of a radian) and "edge=-1" or "edge=1" where the
// pointer rested at the window's edge, then " ~" where the keys were not exact (a terminal
// that sends only characters). For end-to-end tests that must know exactly what the game
// read from a real terminal. Usage: veldra_recording_keys RECORDING

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "program/recording_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: veldra_recording_keys RECORDING\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  const auto recording = veldra::recording::decode(bytes, error);
  if (!recording) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  for (std::size_t frame = 0; frame < recording->frames.size(); ++frame) {
    std::printf("%zu:", frame);
    const auto& keys = recording->frames[frame].input.keys;
    for (std::size_t key = 0; key < keys.size(); ++key) {
      if (keys[key]) std::printf(" %zu", key);
    }
    const auto& input = recording->frames[frame].input;
    if (input.mouseTurn != 0) std::printf(" turn=%d", static_cast<int>(input.mouseTurn));
    if (input.pointerEdge != 0) std::printf(" edge=%d", static_cast<int>(input.pointerEdge));
    std::printf("%s\n", input.keysExact ? "" : " ~");
  }
  return 0;
}
