#pragma once

namespace veldra {

struct Game;
class FrameWatcher;

// Runs frames until the player quits or dies, then shuts the sound down (after a quit) and
// prints the closing line. The watcher, when given, sees every frame once it is drawn.
void runGameLoop(Game& game);
void runGameLoop(Game& game, FrameWatcher* watcher);

// One frame of the loop without its closing sleep. False when the game ended in it: by
// death (the farewell line and its pause have then already run), or because the frame
// input ran out (a recording played back to its end or stopped: nothing was played).
bool runFrame(Game& game, FrameWatcher* watcher = nullptr);

}  // namespace veldra
