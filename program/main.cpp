// The program: the game, or a recording of it, by its arguments.

#include <string>
#include <vector>

#include "program/program.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return veldra::runProgram(veldra::parseCommandLine(arguments));
}
