#include "materials/texture_generate.h"

namespace gw {

// Being filled in: the generators land in their own files.
MemHandle textureGenerate(uint8_t* settings268) { return 0; }

}  // namespace gw
