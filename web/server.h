#pragma once
// The HTTP and WebSocket server: the page at /, the list of games at /watch, and for each
// WebSocket at /play a game of its own on a pseudo-terminal, whose output also goes to
// whoever watches it at /watch/ID. One thread: every connection and game is an
// asynchronous operation on one io_context.

#include "web/options.h"
#include "web/page_files.h"

namespace veldra::web {

// Serves until SIGINT or SIGTERM; then every game is hung up. The exit status: 0, or 1
// when the address cannot be listened on (with a line on standard error).
int runServer(const WebOptions& options, const PageFiles& files);

}  // namespace veldra::web
