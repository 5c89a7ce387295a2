#include "BusRecorder.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "module/VcdWriter.h"

namespace lcd {

BusRecorder::BusRecorder(std::size_t maxWrites) : maxWrites_(maxWrites) {
    // Only the pages that recording touches become resident, so the full reservation costs little.
    writes_.reserve(maxWrites_);
}

void BusRecorder::Clear() {
    writes_.clear();
    overflowed_ = false;
    startControl_ = control_;
    startData_ = data_;
}

void BusRecorder::WriteVcd(std::ostream& out) const {
    lcd::WriteVcd(out, VcdRecording{writes_, startControl_, startData_, overflowed_});
}

void BusRecorder::SaveVcd(const std::string& path) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw std::runtime_error("Cannot save the bus trace to \"" + path + "\": " + std::strerror(errno) +
                                 ".");
    }
    WriteVcd(file);
    file.flush();
    if (!file) {
        throw std::runtime_error("Writing the bus trace to \"" + path + "\" failed: " + std::strerror(errno) +
                                 ".");
    }
}

}  // namespace lcd
