#pragma once

namespace veldra {

struct Game;
class FrameWatcher;

// Runs frames until the player quits or dies, then shuts the sound down (after a quit) and
// prints the closing line. The watcher, when given, sees every frame once it is drawn.
void runGameLoop(Game& game);
void runGameLoop(Game& game, FrameWatcher* watcher);

// A frame's input and update steps, with nothing drawn: the frame record, the player, and
// in play (unpaused) the world. False when the frame input ran out.
bool updateFrame(Game& game);

// One frame of the loop without its closing sleep. False when the game ended in it: by
// death (the farewell line and its pause have then already run), or because the frame
// input ran out (a recording played back to its end or stopped: nothing was played).
bool runFrame(Game& game, FrameWatcher* watcher = nullptr);

}  // namespace veldra
