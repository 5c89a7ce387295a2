#pragma once

#include "display/PageBuffer.h"

namespace lcd {

// The whole-screen picture Draw Picture sends: a dithered grey scene, made by
// tools/make_builtin_picture.py (its table's comment says what it shows).
extern const PageBuffer BuiltInPicture;

}  // namespace lcd
