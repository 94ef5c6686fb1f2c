#pragma once
// Process services used at start-up and on the fatal path.

#include <string>
#include <string_view>

namespace veldra::platform {

// The working directory, where the level files are looked for.
std::string currentDirectory();

// Where the player's settings file is looked for when none is named: on a terminal
// $XDG_CONFIG_HOME/veldra/veldra.toml, else ~/.config/veldra/veldra.toml; on Windows
// %APPDATA%\Veldra\veldra.toml. Empty where there is no such place (and in tests).
std::string defaultSettingsFile();

// Writes to standard error, whatever the devices: the program's own complaints (a bad
// argument, a recording that cannot be read).
void writeStandardError(std::string_view text);

// Writes to standard output even while the devices are off: the verdict of a check.
void writeResult(std::string_view text);

// Waits for one key press without echo. Returns at once when there is no terminal to read.
void waitForKey();

// Gives the terminal back and ends the process with this exit status.
[[noreturn]] void exitProcess(int status);

}  // namespace veldra::platform
