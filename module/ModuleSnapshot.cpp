#include "ModuleSnapshot.h"

namespace lcd {

bool ModuleSnapshot::PixelOn(int x, int y) const {
    if (x < 0 || x >= 128 || y < 0 || y >= 64) {
        return false;
    }
    const ControllerState& controller = controllers[static_cast<std::size_t>(x / 64)];
    if (!controller.displayOn) {
        return false;
    }
    const int line = (controller.startLine + y) % 64;
    const std::uint8_t byte = controller.ram[static_cast<std::size_t>((line / 8) * 64 + x % 64)];
    return (byte >> (line % 8)) & 0x01;
}

}  // namespace lcd
