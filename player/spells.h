#pragma once

namespace veldra {

// Whether the IGNIS and GLACIES keys were down in the last frame their checks ran.
// Process-wide, alive for the whole run.
extern bool ignisKeyHeld;
extern bool glaciesKeyHeld;

}  // namespace veldra
