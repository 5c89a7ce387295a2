#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace lcd::testing {

struct VcdChange {
    std::int64_t time;
    std::string signal;
    std::uint32_t value;

    friend bool operator<(const VcdChange& a, const VcdChange& b) {
        return std::tie(a.time, a.signal, a.value) < std::tie(b.time, b.signal, b.value);
    }
    friend bool operator==(const VcdChange&, const VcdChange&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const VcdChange& c) {
    return os << "#" << c.time << " " << c.signal << "=" << c.value;
}

// A deliberately small reader of value change dumps, written apart from the writer: declarations, time
// marks and 0/1 scalar or binary vector changes. Anything it does not understand is an error, and so
// is a time that does not increase.
inline std::vector<VcdChange> ReadVcd(std::istream& in) {
    std::map<std::string, std::string> names;
    std::vector<VcdChange> changes;
    std::int64_t time = -1;
    std::string token;
    auto skipToEnd = [&] {
        while (in >> token && token != "$end") {
        }
    };
    while (in >> token) {
        if (token == "$var") {
            std::string type, width, id, name;
            in >> type >> width >> id >> name;
            names[id] = name;
            skipToEnd();
        } else if (token == "$dumpvars" || token == "$end") {
            // The initial values inside $dumpvars are read like any other change.
        } else if (token[0] == '$') {
            skipToEnd();
        } else if (token[0] == '#') {
            const std::int64_t next = std::stoll(token.substr(1));
            if (next <= time) {
                throw std::runtime_error("time does not increase at " + token);
            }
            time = next;
        } else if (token[0] == 'b') {
            std::string id;
            in >> id;
            changes.push_back(
                {time, names.at(id), static_cast<std::uint32_t>(std::stoul(token.substr(1), nullptr, 2))});
        } else if (token[0] == '0' || token[0] == '1') {
            changes.push_back({time, names.at(token.substr(1)), static_cast<std::uint32_t>(token[0] - '0')});
        } else {
            throw std::runtime_error("unexpected token " + token);
        }
    }
    return changes;
}

inline std::vector<VcdChange> ReadVcd(const std::string& text) {
    std::istringstream in(text);
    return ReadVcd(in);
}

}  // namespace lcd::testing
