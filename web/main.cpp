// veldra-web: the game played in browsers, over WebSockets, each game on a pseudo-terminal.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "web/options.h"
#include "web/page_files.h"
#include "web/server.h"

namespace {

// Where the game, its levels and the page are when the command line does not say: the
// game beside this program, the levels and the page in the sources it was built from.
veldra::web::WebOptions defaults() {
  veldra::web::WebOptions options;
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  options.game = error ? "veldra" : (self.parent_path() / "veldra").string();
  options.levels = VELDRA_LEVELS_DIR;
  options.page = VELDRA_WEB_DIR;
  return options;
}

// The folders and the game checked, and relative paths made absolute (the game runs in
// the levels folder). False with a line said.
bool checkPlaces(veldra::web::WebOptions& options) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (::access(options.game.c_str(), X_OK) != 0 || fs::is_directory(options.game, error)) {
    std::cerr << "veldra-web: " << options.game << ": not the game's binary (--game names it)\n";
    return false;
  }
  if (!fs::is_directory(options.levels, error)) {
    std::cerr << "veldra-web: " << options.levels << ": no such folder (--levels names the game's levels)\n";
    return false;
  }
  options.game = fs::absolute(options.game, error).string();
  options.page = fs::absolute(options.page, error).string();
  options.levels = fs::absolute(options.levels, error).string();
  if (!options.recordings.empty()) {
    fs::create_directories(options.recordings, error);
    if (!fs::is_directory(options.recordings, error) || ::access(options.recordings.c_str(), W_OK) != 0) {
      std::cerr << "veldra-web: " << options.recordings << ": cannot record into that folder\n";
      return false;
    }
    options.recordings = fs::absolute(options.recordings, error).string();
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::cout << veldra::web::kWebUsage;
    return 0;
  }
  veldra::web::WebOptions options = defaults();
  std::string error;
  if (!veldra::web::parseWebOptions(arguments, options, error)) {
    std::cerr << error << "\n";
    return 2;
  }
  if (!checkPlaces(options)) return 2;
  veldra::web::PageFiles files;
  if (!veldra::web::readPageFiles(options.page, files, error)) {
    std::cerr << error << "\n";
    return 2;
  }
  return veldra::web::runServer(options, files);
}
