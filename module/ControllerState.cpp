#include "ControllerState.h"

namespace lcd {

void PowerUp(ControllerState& controller, std::uint32_t seed) {
    controller.displayOn = false;
    controller.page = 0;
    controller.y = 0;
    controller.startLine = 0;
    // xorshift32: cheap, and any non-zero seed gives a long non-repeating run.
    std::uint32_t state = seed == 0 ? 1 : seed;
    for (std::uint8_t& byte : controller.ram) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
}

}  // namespace lcd
