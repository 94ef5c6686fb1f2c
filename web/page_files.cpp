#include "web/page_files.h"

#include <fstream>
#include <sstream>

namespace veldra::web {
namespace {

struct Served {
  const char* path;      // as asked for
  const char* file;      // under the page folder
  const char* contentType;
};

constexpr Served kServed[] = {
    {"/", "page/index.html", "text/html; charset=utf-8"},
    {"/veldra.js", "page/veldra.js", "text/javascript; charset=utf-8"},
    {"/keys.js", "page/keys.js", "text/javascript; charset=utf-8"},
    {"/sound.js", "page/sound.js", "text/javascript; charset=utf-8"},
    {"/xterm.js", "node_modules/@xterm/xterm/lib/xterm.js", "text/javascript; charset=utf-8"},
    {"/xterm.css", "node_modules/@xterm/xterm/css/xterm.css", "text/css; charset=utf-8"},
    {"/addon-fit.js", "node_modules/@xterm/addon-fit/lib/addon-fit.js", "text/javascript; charset=utf-8"},
};

}  // namespace

bool readPageFiles(const std::string& folder, PageFiles& files, std::string& error) {
  for (const Served& served : kServed) {
    const std::string name = folder + "/" + served.file;
    std::ifstream in(name, std::ios::binary);
    std::ostringstream body;
    if (!in || !(body << in.rdbuf())) {
      error = "veldra-web: " + name + " cannot be read" +
              (std::string(served.file).rfind("node_modules", 0) == 0
                   ? ": xterm.js comes from npm (./scripts/install-deps.sh web fetches it)"
                   : ": --page names the folder of the page's files");
      return false;
    }
    files[served.path] = {served.contentType, body.str()};
  }
  const std::string settings = folder + "/" + kGameSettings;
  if (!std::ifstream(settings)) {
    error = "veldra-web: " + settings + " cannot be read: --page names the folder of the page's files";
    return false;
  }
  return true;
}

}  // namespace veldra::web
