#include "web/options.h"

#include <algorithm>

namespace veldra::web {

const char* const kWebUsage =
    "usage: veldra-web [OPTION]...   serve the game to browsers: / plays, /watch lists the games\n"
    "  --listen ADDRESS:PORT   where to listen (127.0.0.1:8080 when not given; put a reverse\n"
    "                          proxy in front for TLS and for other machines)\n"
    "  --max-games N           games played at once, 1 to 1000 (16); one more is refused\n"
    "  --idle-minutes N        a game with no key or mouse input for N minutes ends, 1 to\n"
    "                          10000 (10)\n"
    "  --recordings DIR        record every game into DIR (made if missing), to replay or\n"
    "                          verify it later with veldra --replay FILE or --verify FILE\n"
    "  --game FILE             the game's binary (the veldra beside veldra-web)\n"
    "  --levels DIR            the folder the game runs in, with its level files\n"
    "  --page DIR              the folder of the page's files (web/ of the sources, with\n"
    "                          node_modules/ as the install script fetches it)\n"
    "  --help                  show this and end\n";

namespace {

bool parseNumber(const std::string& text, int lowest, int highest, int& number) {
  if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  number = std::stoi(text);
  return number >= lowest && number <= highest;
}

// ADDRESS:PORT, the address as given (IPv4, or IPv6 in brackets), the port 0 (any free one)
// to 65535.
bool parseListen(const std::string& text, std::string& address, unsigned short& port) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  int number = 0;
  if (!parseNumber(text.substr(colon + 1), 0, 65535, number)) return false;
  address = text.substr(0, colon);
  if (address.size() > 2 && address.front() == '[' && address.back() == ']') address = address.substr(1, address.size() - 2);
  port = static_cast<unsigned short>(number);
  return true;
}

}  // namespace

bool parseWebOptions(const std::vector<std::string>& arguments, WebOptions& options, std::string& error) {
  std::vector<std::string> given;
  for (std::size_t next = 0; next < arguments.size(); ++next) {
    const std::string& option = arguments[next];
    if (std::find(given.begin(), given.end(), option) != given.end()) {
      error = "veldra-web: " + option + " is given twice";
      return false;
    }
    given.push_back(option);
    if (next + 1 >= arguments.size()) {
      error = "veldra-web: " + option + (option.rfind("--", 0) == 0 ? " needs a value or is unknown" : " is not an option");
      return false;
    }
    const std::string& value = arguments[++next];
    bool good = true;
    if (option == "--listen") good = parseListen(value, options.address, options.port);
    else if (option == "--max-games") good = parseNumber(value, 1, 1000, options.maxGames);
    else if (option == "--idle-minutes") good = parseNumber(value, 1, 10000, options.idleMinutes);
    else if (option == "--recordings") options.recordings = value;
    else if (option == "--game") options.game = value;
    else if (option == "--levels") options.levels = value;
    else if (option == "--page") options.page = value;
    else {
      error = "veldra-web: " + option + " is not an option (--help lists them)";
      return false;
    }
    if (!good || value.empty()) {
      error = "veldra-web: " + option + " " + value + ": not a good value (--help says what is)";
      return false;
    }
  }
  return true;
}

}  // namespace veldra::web
