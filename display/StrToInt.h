#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lcd {

// Raised for a text that is not a signed 32-bit decimal integer; what() is
// "'TEXT' is not a valid integer value" with the offending text in place of TEXT.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(std::string_view text);
};

// Strict decimal conversion: surrounding spaces, an optional sign, then one or more decimal digits,
// and the value must fit a signed 32-bit integer. Anything else raises ConversionError.
std::int32_t StrToInt(std::string_view text);

}  // namespace lcd
