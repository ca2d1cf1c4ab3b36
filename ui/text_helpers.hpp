// text_helpers.hpp - reading and writing control texts, numbers and
// lengths, and moving controls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/api/vtg_base.h"
#include "platform/window.hpp"

namespace vtg {

// Ruler units by the host's unit codes; points when the document has none.
inline constexpr int32_t kRulerInches = 1;
inline constexpr int32_t kRulerCentimeters = 2;
inline constexpr int32_t kRulerPoints = 3;
inline constexpr int32_t kRulerPicas = 4;
inline constexpr int32_t kRulerMillimeters = 5;
inline constexpr int32_t kRulerPixels = 6;
inline constexpr int32_t kRulerFeet = 7;
inline constexpr int32_t kRulerFeetInches = 8;
inline constexpr int32_t kRulerYards = 9;
inline constexpr int32_t kRulerMeters = 10;
inline constexpr int32_t kRulerQ = 11;

// Points in one unit of `ruler` (points for an unknown code) and its suffix.
double PointsPerUnit(int32_t ruler);
const char* UnitSuffix(int32_t ruler);

// The control's text copied to buffer: at most size - 1 bytes, cut on a
// character boundary, always terminated. False when it had to be cut (or
// size is 0).
bool GetControlText(platform::WindowId control, char* buffer, std::size_t size);
std::string GetControlText(platform::WindowId control);
void SetControlText(platform::WindowId control, const char* text);
void SetControlInteger(long value, platform::WindowId control);
void SetControlNumber(double value, int decimals, platform::WindowId control);
void SetControlDistance(double points, int decimals, platform::WindowId control,
                        int32_t ruler = kRulerPoints);

// "%.*f" of the value; never "-0.000".
std::string FormatNumber(double value, int decimals);
// A length in points shown in `ruler` with `decimals` and the unit suffix.
std::string FormatDistance(double points, int decimals, int32_t ruler = kRulerPoints);

// Reads a number typed into a field with the standard conversion: an
// overflow ("1e400") or an infinity gives that infinity, which the caller
// then limits to the field's range; text that is not a number gives 0 and
// `end` (when given) at its start. False for NaN, which no field takes.
bool ParseTypedNumber(const char* text, double& value, const char** end = nullptr);

// Reads a length typed with or without a unit ("12", "12 mm", "1.5in");
// without a unit the number is in `ruler`. The value in points is limited
// to minimum .. maximum (an infinity to the nearer limit), stored in `value`
// and shown in `display`. A text that is not a length (NaN included)
// returns kBadParameterErr and changes nothing.
ErrorCode ParseDistance(const char* text, double minimum, double maximum, int decimals,
                        std::string& display, double& value, int32_t ruler = kRulerPoints);

// Moves a control down by `dy` pixels, keeping its x position and size.
void MoveControlBy(platform::WindowId control, int dy);

} // namespace vtg
