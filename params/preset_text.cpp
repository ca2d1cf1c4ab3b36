#include "params/preset_text.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <vector>

namespace vtg {
namespace {

constexpr std::size_t kMaxKeyLength = 255;

void AppendFormat(std::string& text, const char* format, auto... values) {
    char buffer[64];
    int n = std::snprintf(buffer, sizeof buffer, format, values...);
    if (n < 0)
        return;
    if (static_cast<std::size_t>(n) < sizeof buffer) {
        text.append(buffer, static_cast<std::size_t>(n));
        return;
    }
    // Very large doubles print more digits than the small buffer holds.
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), format, values...);
    big.resize(static_cast<std::size_t>(n));
    text += big;
}

template <typename T> T Load(const void* field) {
    T value;
    std::memcpy(&value, field, sizeof value);
    return value;
}

template <typename T> void Store(void* field, T value) {
    std::memcpy(field, &value, sizeof value);
}

// The conversions follow the formatted-input rules of "%hd", "%d", "%lu"
// and "%lf": leading blanks are skipped, the longest number is taken and
// the rest ignored; no number leaves the field untouched.
bool ParseLong(const char*& p, long& out) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(p, &end, 10);
    if (end == p)
        return false;
    out = v;
    p = end;
    return true;
}

bool ParseUnsigned(const char*& p, unsigned long& out) {
    char* end = nullptr;
    errno = 0;
    unsigned long v = std::strtoul(p, &end, 10);
    if (end == p)
        return false;
    out = v;
    p = end;
    return true;
}

bool ParseDouble(const char*& p, double& out) {
    char* end = nullptr;
    double v = std::strtod(p, &end);
    if (end == p)
        return false;
    out = v;
    p = end;
    return true;
}

bool ParseComma(const char*& p) {
    if (*p != ',')
        return false;
    ++p;
    return true;
}

int16_t ToInt16(long v) {
    return static_cast<int16_t>(static_cast<uint16_t>(v));
}
int32_t ToInt32(long v) {
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

bool UsesComponents(int32_t kind) {
    return kind == 0 || kind == 1 || kind == 5;
}

// The text of the value of `key` in the record, when present.
bool FindValue(std::string_view record, std::string_view key, std::string_view& value) {
    std::size_t pos = 1; // the header's "$" is skipped; its rest reads as a line
    bool first = true;
    while (pos < record.size()) {
        if (!first && record[pos] == '$')
            return false;
        first = false;
        std::size_t lineEnd = record.find_first_of("\r\n", pos);
        if (lineEnd == std::string_view::npos)
            lineEnd = record.size();
        std::string_view line = record.substr(pos, lineEnd - pos);
        std::size_t tab = line.find('\t');
        // Skip one line-end character, and a second one when it is CR or LF.
        pos = lineEnd;
        if (pos < record.size()) {
            ++pos;
            if (pos < record.size() && (record[pos] == '\r' || record[pos] == '\n'))
                ++pos;
        }
        // A line without a TAB or with an over-long key matches nothing.
        if (tab == std::string_view::npos || tab > kMaxKeyLength)
            continue;
        if (line.substr(0, tab) == key) {
            value = line.substr(tab + 1);
            return true;
        }
    }
    return false;
}

void ConvertValue(const std::string& text, ValueType type, void* field) {
    const char* p = text.c_str();
    switch (type) {
    case ValueType::Int16: {
        long v;
        if (ParseLong(p, v))
            Store(field, ToInt16(v));
        break;
    }
    case ValueType::Int: {
        long v;
        if (ParseLong(p, v))
            Store(field, ToInt32(v));
        break;
    }
    case ValueType::UInt32: {
        unsigned long v;
        if (ParseUnsigned(p, v))
            Store(field, static_cast<uint32_t>(v));
        break;
    }
    case ValueType::Bool: {
        // "0" alone is false; anything else, "01" and the empty text included,
        // is true.
        int32_t v = (text.size() >= 1 && text[0] == '0') ? (text.size() > 1 ? 1 : 0) : 1;
        Store(field, v);
        break;
    }
    case ValueType::Double: {
        double v;
        if (ParseDouble(p, v))
            Store(field, v);
        break;
    }
    case ValueType::Point: {
        VtgPoint pt = Load<VtgPoint>(field);
        if (!ParseDouble(p, pt.x))
            break;
        Store(field, pt);
        if (ParseComma(p) && ParseDouble(p, pt.y))
            Store(field, pt);
        break;
    }
    case ValueType::ColorSpec: {
        ColorSpec c = Load<ColorSpec>(field);
        long kind;
        if (!ParseLong(p, kind))
            break;
        // The kind is a 16-bit number widened with its sign.
        c.kind = ToInt16(kind);
        if (UsesComponents(c.kind)) {
            for (double& component : c.c)
                if (!ParseComma(p) || !ParseDouble(p, component))
                    break;
        }
        Store(field, c);
        break;
    }
    }
}

} // namespace

void WriteParamField(std::string& text, const char* key, ValueType type, const void* field) {
    text += key;
    text += '\t';
    switch (type) {
    case ValueType::Int16:
        AppendFormat(text, "%hd", Load<int16_t>(field));
        break;
    case ValueType::Int:
        AppendFormat(text, "%d", Load<int32_t>(field));
        break;
    case ValueType::UInt32:
        AppendFormat(text, "%lu", static_cast<unsigned long>(Load<uint32_t>(field)));
        break;
    case ValueType::Bool:
        text += Load<int32_t>(field) != 0 ? '1' : '0';
        break;
    case ValueType::Double:
        AppendFormat(text, "%.6lf", Load<double>(field));
        break;
    case ValueType::Point: {
        VtgPoint pt = Load<VtgPoint>(field);
        AppendFormat(text, "%.6lf,%.6lf", pt.x, pt.y);
        break;
    }
    case ValueType::ColorSpec: {
        ColorSpec c = Load<ColorSpec>(field);
        double out[4] = {0, 0, 0, 0};
        int used = c.kind == 0 ? 1 : c.kind == 1 ? 4 : c.kind == 5 ? 3 : 0;
        for (int i = 0; i < used; ++i)
            out[i] = c.c[i];
        AppendFormat(text, "%hd,%.6lf,%.6lf,%.6lf,%.6lf", static_cast<short>(c.kind), out[0],
                     out[1], out[2], out[3]);
        break;
    }
    }
    text += "\r\n";
}

bool ReadParamField(std::string_view record, const char* key, ValueType type, void* field) {
    std::string_view value;
    if (key == nullptr || !FindValue(record, key, value))
        return false;
    ConvertValue(std::string(value), type, field);
    return true;
}

void WriteAllFields(std::string& text, const void* block, const PresetType& type,
                    std::initializer_list<const char*> skip) {
    const char* base = static_cast<const char*>(block);
    for (const KeyField& f : type.keys) {
        if (f.key == nullptr)
            continue;
        bool skipped = false;
        for (const char* s : skip)
            skipped = skipped || std::strcmp(s, f.key) == 0;
        if (!skipped)
            WriteParamField(text, f.key, f.type, base + f.offset);
    }
}

namespace {

void WriteHeaderLine(std::string& text, std::string_view name) {
    text = "$\t";
    text += name;
    text += "\r\n";
}

std::string_view HeaderName(const ParamHeader& header) {
    return std::string_view(header.presetName, strnlen(header.presetName, kPresetTextSize));
}

std::string_view HeaderFile(const ParamHeader& header) {
    return std::string_view(header.presetFile, strnlen(header.presetFile, kPresetTextSize));
}

// The widest range of a field's panel range text ("-200 .. 200 % (edit
// -20000 .. 20000 %)"), in the unit the block holds; false when it has none.
bool FieldRange(const KeyField& f, double& low, double& high) {
    bool found = false;
    for (const char* p = f.range; *p != '\0';) {
        char* end = nullptr;
        const double a = std::strtod(p, &end);
        if (end == p) {
            ++p;
            continue;
        }
        const char* q = end;
        while (*q == ' ')
            ++q;
        if (q[0] != '.' || q[1] != '.') {
            p = end;
            continue;
        }
        q += 2;
        const double b = std::strtod(q, &end);
        if (end == q) {
            p = q;
            continue;
        }
        low = found ? std::min(low, a) : a;
        high = found ? std::max(high, b) : b;
        found = true;
        p = end;
    }
    if (!found)
        return false;
    const double k = f.unit == Unit::Percent   ? 0.01
                     : f.unit == Unit::Degrees ? std::numbers::pi / 180
                                               : 1;
    low *= k;
    high *= k;
    return true;
}

// A number that is not finite becomes the field's nearest valid value: an
// infinity the end of the panel range on its side, NaN the default.
void Finite(const KeyField& f, double& v, double byDefault) {
    if (std::isfinite(v))
        return;
    double low = 0, high = 0;
    if (std::isnan(v) || !FieldRange(f, low, high))
        v = std::isfinite(byDefault) ? byDefault : 0;
    else
        v = v > 0 ? high : low;
}

// Gives every number of a block read from text a finite value (presets and
// stored records may hold "nan" or "inf"; no geometry is made from them).
void MakeFinite(const PresetType& type, void* block) {
    std::vector<unsigned char> defaults(type.blockSize);
    if (type.setDefaults != nullptr)
        type.setDefaults(defaults.data());
    for (const KeyField& f : type.keys) {
        auto* field = static_cast<unsigned char*>(block) + f.offset;
        const unsigned char* initial = defaults.data() + f.offset;
        if (f.type == ValueType::Double) {
            double v = Load<double>(field);
            Finite(f, v, Load<double>(initial));
            Store(field, v);
        } else if (f.type == ValueType::Point) {
            VtgPoint v = Load<VtgPoint>(field);
            const VtgPoint d = Load<VtgPoint>(initial);
            Finite(f, v.x, d.x);
            Finite(f, v.y, d.y);
            Store(field, v);
        } else if (f.type == ValueType::ColorSpec) {
            ColorSpec c = Load<ColorSpec>(field);
            for (double& component : c.c)
                if (!std::isfinite(component))
                    component = std::isnan(component) ? 0 : component > 0 ? 1 : 0;
            Store(field, c);
        }
    }
}

void ReadWith(const PresetType& type, std::string_view record, void* block, int n) {
    if (type.read != nullptr)
        type.read(record, block, n);
    else
        RecordReader(record, block, type).ReadRest();
    MakeFinite(type, block);
}

} // namespace

void WritePresetRecord(std::string& text, const void* block, bool withName) {
    text.clear();
    const auto& header = *static_cast<const ParamHeader*>(block);
    const PresetType* type = FindPresetType(HeaderFile(header));
    if (type == nullptr)
        return;
    std::string body;
    WriteHeaderLine(body, withName ? HeaderName(header) : std::string_view());
    std::size_t headerLength = body.size();
    if (type->write != nullptr)
        type->write(body, block, false);
    else
        WriteAllFields(body, block, *type);
    // A type writer that refuses the block (3D Path of another variant's
    // file) leaves no fields: then the record is empty.
    if (body.size() == headerLength && !type->keys.empty())
        return;
    text = std::move(body);
}

void WriteLiveObjectRecord(std::string& text, const void* block, int kind) {
    text.clear();
    const PresetType* type = PresetTypeOfKind(kind);
    if (type == nullptr)
        return;
    WriteHeaderLine(text, {});
    if (type->write != nullptr)
        type->write(text, block, true);
    else
        WriteAllFields(text, block, *type);
}

bool ReadPresetRecord(std::string_view record, void* block, int n) {
    const auto& header = *static_cast<const ParamHeader*>(block);
    const PresetType* type = FindPresetType(HeaderFile(header));
    if (type == nullptr)
        return false;
    ReadWith(*type, record, block, n);
    return true;
}

bool ReadLiveObjectRecord(std::string_view record, void* block, int kind) {
    const PresetType* type = PresetTypeOfKind(kind);
    if (type == nullptr)
        return false;
    ReadWith(*type, record, block, kRecordLiveObject);
    return true;
}

// --- RecordReader ------------------------------------------------------------

int RecordReader::Index(const char* key) const {
    for (std::size_t i = 0; i < type_.keys.size(); ++i)
        if (type_.keys[i].key != nullptr && std::strcmp(type_.keys[i].key, key) == 0)
            return static_cast<int>(i);
    return -1;
}

std::size_t RecordReader::Offset(const char* keyOrName) const {
    int i = Index(keyOrName);
    if (i >= 0)
        return type_.keys[static_cast<std::size_t>(i)].offset;
    for (const KeyField& f : type_.keys)
        if (std::strcmp(f.name, keyOrName) == 0)
            return f.offset;
    // The rules name only keys and fields of their own table (the tests
    // check every rule); reaching this is a programming error.
    std::abort();
}

bool RecordReader::Read(const char* key) {
    int i = Index(key);
    if (i < 0)
        return false;
    const KeyField& f = type_.keys[static_cast<std::size_t>(i)];
    read_.set(static_cast<std::size_t>(i));
    bool found = ReadParamField(record_, f.key, f.type, block_ + f.offset);
    found_.set(static_cast<std::size_t>(i), found);
    return found;
}

void RecordReader::ReadRest(std::initializer_list<const char*> skip) {
    for (std::size_t i = 0; i < type_.keys.size(); ++i) {
        const KeyField& f = type_.keys[i];
        if (f.key == nullptr || read_.test(i))
            continue;
        bool skipped = false;
        for (const char* s : skip)
            skipped = skipped || std::strcmp(s, f.key) == 0;
        if (!skipped)
            Read(f.key);
    }
}

bool RecordReader::Found(const char* key) const {
    int i = Index(key);
    return i >= 0 && found_.test(static_cast<std::size_t>(i));
}

void RecordReader::Set(const char* key, double value) {
    int i = Index(key);
    if (i < 0)
        std::abort(); // see Offset
    const KeyField& f = type_.keys[static_cast<std::size_t>(i)];
    char* field = block_ + f.offset;
    switch (f.type) {
    case ValueType::Int16:
        Store(field, static_cast<int16_t>(value));
        break;
    case ValueType::Int:
    case ValueType::Bool:
        Store(field, static_cast<int32_t>(value));
        break;
    case ValueType::UInt32:
        Store(field, static_cast<uint32_t>(value));
        break;
    case ValueType::Double:
        Store(field, value);
        break;
    case ValueType::Point:
        Store(field, VtgPoint{value, value});
        break;
    case ValueType::ColorSpec:
        std::abort(); // colours are set by their own rules
    }
}

} // namespace vtg
