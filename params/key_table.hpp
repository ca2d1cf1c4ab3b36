// key_table.hpp - shorthands for writing the key tables of the preset
// types (internal to params/).
#pragma once

#include <cstddef>
#include <numbers>

#include "params/param_types.hpp"

namespace vtg {

// One table entry: key, value type, field of block type T, unit, range.
#define VTG_KEY(T, key, vt, field, unit, range)                                                    \
    ::vtg::KeyField {                                                                              \
        key, ::vtg::ValueType::vt, offsetof(T, field), #field, ::vtg::Unit::unit, range            \
    }
// An element of an array field, with its own name.
#define VTG_KEY_AT(T, key, vt, field, index, name, unit, range)                                    \
    ::vtg::KeyField {                                                                              \
        key, ::vtg::ValueType::vt, offsetof(T, field) + (index) * sizeof(T{}.field[0]), name,      \
            ::vtg::Unit::unit, range                                                               \
    }

constexpr double Deg(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

template <typename T> T& As(void* block) {
    return *static_cast<T*>(block);
}
template <typename T> const T& As(const void* block) {
    return *static_cast<const T*>(block);
}

} // namespace vtg
