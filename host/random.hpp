// random.hpp - the host's seeded random generator (PCG32, XSH-RR output).
// Its sequence is part of the document format; see host/api/vtg_math_suite.h.
#pragma once

#include <cstdint>

namespace hostapp {

class Random {
public:
    Random() { seed(0); }

    // Seeds with the low 31 bits of `value`.
    void seed(int32_t value) {
        const uint64_t s = static_cast<uint32_t>(value) & 0x7FFFFFFFu;
        state_ = 0;
        next();
        state_ += s;
        next();
    }

    // The next 32-bit output.
    uint32_t next() {
        const uint64_t old = state_;
        state_ = old * kMultiplier + kIncrement;
        const auto xorshifted = static_cast<uint32_t>(((old >> 18) ^ old) >> 27);
        const auto rot = static_cast<uint32_t>(old >> 59);
        return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
    }

    // A uniform number in [0, 1).
    double uniform() { return static_cast<double>(next()) * (1.0 / 4294967296.0); }

private:
    static constexpr uint64_t kMultiplier = 6364136223846793005ull;
    static constexpr uint64_t kIncrement = 1442695040888963407ull;
    uint64_t state_ = 0;
};

} // namespace hostapp
