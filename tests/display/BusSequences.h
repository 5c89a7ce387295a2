#pragma once

// Hand-written bus traffic for comparing against what the code sends.

#include <vector>

#include "RecordingListener.h"
#include "display/PageBuffer.h"

namespace lcd::testing {

inline constexpr std::uint8_t Left = 0x00;
inline constexpr std::uint8_t Right = 0x06;

// One entry per bus transaction: the five writes of an instruction or the four of a data byte.
using Transactions = std::vector<std::vector<PortWrite>>;

inline std::vector<PortWrite> Flatten(const Transactions& transactions) {
    std::vector<PortWrite> writes;
    for (const auto& transaction : transactions) {
        Append(writes, transaction);
    }
    return writes;
}

inline void ToBoth(Transactions& into, std::uint8_t instruction) {
    into.push_back(InstructionWrites(instruction, Left));
    into.push_back(InstructionWrites(instruction, Right));
}

inline std::vector<PortWrite> ToBoth(std::uint8_t instruction) {
    Transactions transactions;
    ToBoth(transactions, instruction);
    return Flatten(transactions);
}

inline std::vector<PortWrite> LeftThenRight(std::uint8_t left, std::uint8_t right) {
    return Flatten({InstructionWrites(left, Left), InstructionWrites(right, Right)});
}

// Optionally start line 0, then for every page: page, column 0 on both, 128 bytes across both halves.
inline Transactions WholeScreen(const PageBuffer& buffer, bool withStartLine) {
    Transactions transactions;
    if (withStartLine) {
        ToBoth(transactions, 0xC0);
    }
    for (int page = 0; page < 8; ++page) {
        ToBoth(transactions, static_cast<std::uint8_t>(0xB8 + page));
        ToBoth(transactions, 0x40);
        for (int column = 0; column < 128; ++column) {
            transactions.push_back(DataWrites(buffer[static_cast<std::size_t>(page * 128 + column)],
                                              column < 64 ? Left : Right));
        }
    }
    return transactions;
}

}  // namespace lcd::testing
