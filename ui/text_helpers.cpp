#include "ui/text_helpers.hpp"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/text_util.hpp"

namespace vtg {
namespace {

struct UnitRow {
    int32_t code;
    double points;
    const char* suffix;
};

const UnitRow kUnits[] = {
    {kRulerInches, 72.0, "in"},
    {kRulerCentimeters, 72.0 / 2.54, "cm"},
    {kRulerPoints, 1.0, "pt"},
    {kRulerPicas, 12.0, "pc"},
    {kRulerMillimeters, 72.0 / 25.4, "mm"},
    {kRulerPixels, 1.0, "px"},
    {kRulerFeet, 864.0, "ft"},
    {kRulerFeetInches, 72.0, "in"},
    {kRulerYards, 2592.0, "yd"},
    {kRulerMeters, 72.0 / 0.0254, "m"},
    {kRulerQ, 72.0 / 25.4 / 4.0, "Q"},
};

const UnitRow& Unit(int32_t ruler) {
    for (const UnitRow& u : kUnits)
        if (u.code == ruler)
            return u;
    return kUnits[2];
}

// The unit named by a typed suffix, or null.
const UnitRow* UnitBySuffix(const std::string& suffix) {
    std::string s;
    for (char c : suffix)
        s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (s == "q" || s == "h")
        return &Unit(kRulerQ);
    if (s == "inch" || s == "\"")
        return &Unit(kRulerInches);
    if (s == "pica")
        return &Unit(kRulerPicas);
    for (const UnitRow& u : kUnits) {
        std::string own;
        for (const char* p = u.suffix; *p != '\0'; ++p)
            own += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
        if (s == own)
            return &u;
    }
    return nullptr;
}

} // namespace

double PointsPerUnit(int32_t ruler) {
    return Unit(ruler).points;
}
const char* UnitSuffix(int32_t ruler) {
    return Unit(ruler).suffix;
}

bool GetControlText(platform::WindowId control, char* buffer, std::size_t size) {
    return CopyText(buffer, size, platform::GetText(control));
}

std::string GetControlText(platform::WindowId control) {
    return platform::GetText(control);
}

void SetControlText(platform::WindowId control, const char* text) {
    platform::SetText(control, text != nullptr ? text : "");
    platform::Redraw(control);
}

void SetControlInteger(long value, platform::WindowId control) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", value);
    SetControlText(control, text);
}

std::string FormatNumber(double value, int decimals) {
    if (decimals < 0)
        decimals = 0;
    if (decimals > 12)
        decimals = 12;
    if (!std::isfinite(value))
        value = 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // A value that rounds to zero is shown without a sign.
    if (text[0] == '-' && std::strspn(text + 1, "0.") == std::strlen(text + 1))
        return text + 1;
    return text;
}

void SetControlNumber(double value, int decimals, platform::WindowId control) {
    SetControlText(control, FormatNumber(value, decimals).c_str());
}

std::string FormatDistance(double points, int decimals, int32_t ruler) {
    return FormatNumber(points / PointsPerUnit(ruler), decimals) + " " + UnitSuffix(ruler);
}

void SetControlDistance(double points, int decimals, platform::WindowId control, int32_t ruler) {
    SetControlText(control, FormatDistance(points, decimals, ruler).c_str());
}

bool ParseTypedNumber(const char* text, double& value, const char** end) {
    value = 0.0;
    if (text == nullptr) {
        if (end != nullptr)
            *end = text;
        return true;
    }
    char* stop = nullptr;
    const double number = std::strtod(text, &stop);
    if (end != nullptr)
        *end = stop;
    if (std::isnan(number))
        return false;
    value = number; // an overflow is already the infinity of its sign
    return true;
}

ErrorCode ParseDistance(const char* text, double minimum, double maximum, int decimals,
                        std::string& display, double& value, int32_t ruler) {
    if (text == nullptr)
        return kBadParameterErr;
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    const char* end = nullptr;
    double number = 0.0;
    if (!ParseTypedNumber(p, number, &end) || end == p)
        return kBadParameterErr;
    std::string suffix = end;
    while (!suffix.empty() && (suffix.front() == ' ' || suffix.front() == '\t'))
        suffix.erase(suffix.begin());
    while (!suffix.empty() && (suffix.back() == ' ' || suffix.back() == '\t'))
        suffix.pop_back();
    double perUnit = PointsPerUnit(ruler);
    if (!suffix.empty()) {
        const UnitRow* u = UnitBySuffix(suffix);
        if (u == nullptr)
            return kBadParameterErr;
        perUnit = u->points;
    }
    double points = number * perUnit;
    if (std::isnan(points) || minimum > maximum)
        return kBadParameterErr;
    if (points < minimum)
        points = minimum;
    if (points > maximum)
        points = maximum;
    value = points;
    display = FormatDistance(points, decimals, ruler);
    return kNoErr;
}

void MoveControlBy(platform::WindowId control, int dy) {
    platform::Rect r = platform::GetRect(control);
    r.top += dy;
    r.bottom += dy;
    platform::SetRect(control, r);
}

} // namespace vtg
