#include "player/spells.h"

namespace veldra {

bool ignisKeyHeld = false;
bool glaciesKeyHeld = false;

}  // namespace veldra
