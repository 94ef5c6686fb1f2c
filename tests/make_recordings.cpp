// Records the golden recordings with the autopilot on the headless backend: the fight on the
// first level, and the portal round trip. Usage: veldra_make_recordings LEVELS_FOLDER OUT_FOLDER

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "autopilot.h"
#include "fresh_state.h"
#include "program/recording.h"
#include "core/game.h"
#include "platform/frame_input.h"
#include "platform/headless/headless.h"

namespace {

using namespace veldra;

bool record(const std::filesystem::path& file, const std::function<bool(testing::Autopilot&, Game&)>& play) {
  platform::headless::reset();
  platform::headless::setWindowSize(100, 32);
  testing::resetProcessWideFlags();
  recording::Recorder recorder;
  std::string error;
  if (!recorder.start(file.string(), recording::headerForNow(), error)) {
    std::fprintf(stderr, "%s: %s\n", file.string().c_str(), error.c_str());
    return false;
  }
  platform::setFrameInputObserver(&recorder);
  Game game;
  testing::Autopilot pilot(game);
  pilot.setWatcher(&recorder);
  if (!play(pilot, game)) {
    std::fprintf(stderr, "%s: %s\n", file.string().c_str(), pilot.failure().c_str());
    return false;
  }
  pilot.frameWith({vk::kEscape});
  recorder.finish(game);
  platform::setFrameInputObserver(nullptr);
  std::printf("%s: %u frames\n", file.string().c_str(), recorder.frames());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: veldra_make_recordings LEVELS_FOLDER OUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path out = std::filesystem::absolute(argv[2]);
  std::filesystem::create_directories(out);
  std::filesystem::current_path(argv[1]);
  const bool fight = record(out / "fight.vdm", [](testing::Autopilot& pilot, Game& game) {
    return testing::playFight(pilot, game);
  });
  const bool roundTrip = record(out / "round-trip.vdm", [](testing::Autopilot& pilot, Game& game) {
    return testing::playFight(pilot, game) && testing::playRoundTrip(pilot, game);
  });
  return fight && roundTrip ? 0 : 1;
}
