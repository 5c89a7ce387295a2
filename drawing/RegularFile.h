#pragma once

#include <string>

namespace lcd {

// Opens a file for reading only if it is a regular one: opening or reading a named pipe or a device could
// wait for good. The type is checked before the open, so nothing else is ever opened, and again on the open
// descriptor in case the name was swapped in between; O_NONBLOCK keeps that open from waiting.
// Returns a descriptor the caller closes; throws std::runtime_error naming the path and the reason.
int OpenRegularFileForReading(const std::string& path);

}  // namespace lcd
