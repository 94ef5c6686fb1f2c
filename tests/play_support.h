#pragma once
// A game in play on a small level written by the test, with helpers to press keys, run the
// two update steps and read back the sounds they asked for.

#include <memory>
#include <vector>

#include "audio/audio_engine.h"
#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "player/movement.h"
#include "player/spells.h"
#include "player/update_player.h"
#include "test_support.h"
#include "world/update_world.h"

namespace veldra::testing {

class PlayTest : public ScratchDirectoryTest {
 protected:
  // Writes the level into slot 0's file and starts a game on it, past the title.
  Game& start(const std::vector<std::string>& rows, const std::string& file = "otestinggrounds.txt") {
    writeFile(file, levelText("Test Level", rows));
    game_ = std::make_unique<Game>();
    game_->inFrontEnd = false;
    stopAllSounds();
    return *game_;
  }
  Game& game() { return *game_; }

  static void holdOnly(std::initializer_list<int> keys) {
    testing::releaseAllKeys();
    for (int key : keys) platform::headless::setKeyDown(key, true);
  }
  // One input step with exactly these keys down.
  void press(std::initializer_list<int> keys) {
    holdOnly(keys);
    updatePlayer(game());
  }
  // A whole frame without drawing: input with these keys, then the world.
  void frame(std::initializer_list<int> keys = {}) {
    press(keys);
    updateWorld(game());
  }

  // The sounds asked for since the last call, oldest first.
  static std::vector<SoundRequest> takeSounds() {
    std::vector<SoundRequest> played;
    for (const Voice& voice : AudioEngine::instance().voicesSnapshot()) {
      played.push_back({voice.frequency, voice.targetFrequency, voice.duration, voice.amplitude});
    }
    stopAllSounds();
    return played;
  }
  static int count(const std::vector<SoundRequest>& played, const SoundRequest& sound) {
    int n = 0;
    for (const SoundRequest& request : played) {
      n += request.startHz == sound.startHz && request.endHz == sound.endHz && request.seconds == sound.seconds &&
           request.volume == sound.volume;
    }
    return n;
  }
  static int takeCount(const SoundRequest& sound) { return count(takeSounds(), sound); }

  std::vector<std::string> messageTexts() const {
    std::vector<std::string> texts;
    for (const HudMessage& message : game_->messages) texts.push_back(message.text);
    return texts;
  }

  std::unique_ptr<Game> game_;
};

}  // namespace veldra::testing
