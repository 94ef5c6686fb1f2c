#include "core/messages.h"

#include "core/game.h"

namespace veldra {

void postMessage(Game& game, const std::string& text, std::uint16_t colour) {
  game.messages.push_back(HudMessage{text, colour, kMessageLifetimeFrames});
  if (game.messages.size() > kMaxMessages) game.messages.erase(game.messages.begin());
}

void ageMessages(Game& game) {
  // Each message ages on its own; the walk runs from the last down so that an expired one
  // is erased in place.
  for (std::size_t i = game.messages.size(); i-- > 0;) {
    if (--game.messages[i].framesLeft <= 0) {
      game.messages.erase(game.messages.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

}  // namespace veldra
