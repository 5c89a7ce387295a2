#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "display/PortRegisters.h"
#include "module/BusRecorder.h"
#include "module/ModuleModel.h"

namespace {

struct Write {
    std::uint16_t address;
    std::uint16_t value;
    std::int64_t timestampNs;
};

// A whole screen as the display bus sends it: per page, the page and column instructions to both
// controllers, then 128 data bytes, one write per microsecond so that no timing rule is broken.
std::vector<Write> FullScreenWrites() {
    std::vector<Write> writes;
    std::int64_t now = 0;
    auto add = [&](std::uint16_t address, std::uint8_t value) {
        writes.push_back(Write{address, value, now});
        now += 1000;
    };
    auto instruction = [&](std::uint8_t byte, std::uint8_t base) {
        add(lcd::ControlRegister, base | 0x09);
        add(lcd::DataRegister, byte);
        add(lcd::ControlRegister, base | 0x08);
        add(lcd::ControlRegister, base | 0x09);
        add(lcd::DataRegister, 0x00);
    };
    for (std::uint8_t page = 0; page < 8; ++page) {
        for (std::uint8_t base : {0x00, 0x06}) {
            instruction(static_cast<std::uint8_t>(0xB8 | page), base);
            instruction(0x40, base);
        }
        for (int column = 0; column < 128; ++column) {
            const std::uint8_t base = column < 64 ? 0x00 : 0x06;
            add(lcd::ControlRegister, base | 0x01);
            add(lcd::DataRegister, static_cast<std::uint8_t>(column * 37 + page));
            add(lcd::ControlRegister, base);
            add(lcd::ControlRegister, base | 0x01);
        }
    }
    return writes;
}

void ModelDecode(benchmark::State& state) {
    const std::vector<Write> writes = FullScreenWrites();
    lcd::ModuleModel model;
    lcd::BusRecorder recorder;
    std::int64_t offset = 0;
    for (auto _ : state) {
        recorder.Clear();
        for (const Write& write : writes) {
            model.PortWritten(write.address, write.value, write.timestampNs + offset);
            recorder.PortWritten(write.address, write.value, write.timestampNs + offset);
        }
        offset += static_cast<std::int64_t>(writes.size()) * 1000;
        benchmark::DoNotOptimize(model.ChangeCount());
    }
    const auto total = static_cast<double>(state.iterations()) * static_cast<double>(writes.size());
    // An inverted rate is seconds per write, which the report prints with its unit ("5.1ns").
    state.counters["ns_per_port_write"] =
        benchmark::Counter(total, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(static_cast<std::int64_t>(total));
}
BENCHMARK(ModelDecode);

}  // namespace
