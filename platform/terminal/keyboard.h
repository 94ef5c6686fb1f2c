#pragma once
// The terminal's input as the backend reads it (keyboard.cpp): the keys, the mouse and the
// answers to the pacing queries arrive on one stream, read once a frame.

namespace veldra::platform::terminal {

// Reads the answers still owed to the pacing queries, for a while, so that none arrives
// after the terminal is given back and lands at the shell's prompt.
void awaitOwedAnswers();

}  // namespace veldra::platform::terminal
