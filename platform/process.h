#pragma once
// Process services used at start-up and on the fatal path.

#include <string>

namespace veldra::platform {

// The working directory, where the level files are looked for.
std::string currentDirectory();

// Waits for one key press without echo. Returns at once when there is no terminal to read.
void waitForKey();

// Gives the terminal back and ends the process with this exit status.
[[noreturn]] void exitProcess(int status);

}  // namespace veldra::platform
