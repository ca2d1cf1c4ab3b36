#include "host/actions.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>
#include <sstream>

#include "host/code_text.hpp"
#include "host/host.hpp"
#include "host/memory.hpp"

namespace hostapp {

// --- value blocks ----------------------------------------------------------------

const ActionValue* ValueBlock::find(uint32_t key) const {
    for (const ActionValue& v : values)
        if (v.key == key)
            return &v;
    return nullptr;
}

void ValueBlock::put(ActionValue value) {
    for (ActionValue& v : values)
        if (v.key == value.key) {
            v = std::move(value);
            return;
        }
    values.push_back(std::move(value));
}

bool ValueBlock::operator==(const ValueBlock& other) const {
    if (values.size() != other.values.size())
        return false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const ActionValue& a = values[i];
        const ActionValue& b = other.values[i];
        if (a.key != b.key || a.type != b.type || a.integer != b.integer || a.text != b.text)
            return false;
        // Bitwise, so that a NaN compares equal to itself.
        if (a.real != b.real && !(std::isnan(a.real) && std::isnan(b.real)))
            return false;
    }
    return true;
}

Actions::~Actions() {
    for (auto& slot : blocks_)
        if (slot != nullptr)
            memory_.free(slot->token);
}

ErrorCode Actions::registerAction(PluginRef plugin, const char* name, const char* title,
                                  int32_t version, const void* userData,
                                  const VtgActionParam* params, int32_t count,
                                  ActionHandle* action) {
    if (action != nullptr)
        *action = nullptr;
    if (plugin == nullptr || name == nullptr || *name == '\0' || title == nullptr ||
        action == nullptr || count < 0 || (count > 0 && params == nullptr))
        return kBadParameterErr;
    if (find(name) != nullptr)
        return kBadParameterErr;
    auto a = std::make_unique<ActionHandleOpaque>();
    a->plugin = plugin;
    a->name = name;
    a->title = title;
    a->version = version;
    a->userData = userData;
    for (int32_t i = 0; i < count; ++i)
        a->params.push_back(
            {params[i].key, params[i].type, params[i].label != nullptr ? params[i].label : ""});
    *action = a.get();
    actions_.push_back(std::move(a));
    return kNoErr;
}

ActionHandleOpaque* Actions::find(const std::string& name) const {
    for (const auto& a : actions_)
        if (a->name == name)
            return a.get();
    return nullptr;
}

ErrorCode Actions::newBlock(ValueBlockHandle* block, ValueBlock values) {
    if (block == nullptr)
        return kBadParameterErr;
    *block = nullptr;
    auto slot = std::make_unique<Slot>();
    if (ErrorCode e = memory_.allocate(kValueBlockMemoryName, sizeof(Slot), &slot->token))
        return e;
    slot->values = std::move(values);
    blocks_.push_back(std::move(slot));
    *block = reinterpret_cast<ValueBlockHandle>(static_cast<uintptr_t>(blocks_.size()));
    return kNoErr;
}

ErrorCode Actions::block(ValueBlockHandle handle, ValueBlock*& out) const {
    out = nullptr;
    if (handle == nullptr)
        return kBadParameterErr;
    const auto i = reinterpret_cast<uintptr_t>(handle);
    if (i > blocks_.size() || blocks_[i - 1] == nullptr)
        return kDeadHandleErr;
    out = &blocks_[i - 1]->values;
    return kNoErr;
}

ErrorCode Actions::disposeBlock(ValueBlockHandle handle) {
    if (handle == nullptr)
        return kNoErr;
    ValueBlock* values = nullptr;
    if (ErrorCode e = block(handle, values))
        return e;
    auto& slot = blocks_[reinterpret_cast<uintptr_t>(handle) - 1];
    memory_.free(slot->token);
    slot.reset();
    return kNoErr;
}

int Actions::liveBlocks() const {
    int n = 0;
    for (const auto& slot : blocks_)
        n += slot != nullptr ? 1 : 0;
    return n;
}

ErrorCode Actions::recordEvent(const char* name, ValueBlockHandle handle) {
    if (name == nullptr || handle == nullptr)
        return kBadParameterErr;
    if (!recording_)
        return kNoErr;
    ValueBlock* values = nullptr;
    if (ErrorCode e = block(handle, values))
        return e;
    if (find(name) == nullptr)
        return kNotFoundErr;
    events_.push_back({name, *values});
    return kNoErr;
}

// --- the text form -----------------------------------------------------------------
//
// The save file is the output of `actions list` under a first line
// "VERTiGON actions 1":
//
//   VERTiGON actions 1
//   action NAME
//     KEY TYPE VALUE
//
// Blank lines and lines starting with "#" are skipped. TYPE is integer,
// boolean (0 or 1), enum (INDEX then the item text), real (VALUE then the
// unit) or string (the text). A text is the rest of the line after one blank,
// with "\\", "\n", "\r", "\t" and "\xHH" standing for a backslash and the
// control characters.

std::string FormatActionKey(uint32_t key) {
    char c[4] = {static_cast<char>(key >> 24), static_cast<char>(key >> 16),
                 static_cast<char>(key >> 8), static_cast<char>(key)};
    bool printable = true;
    for (char ch : c)
        printable = printable && ch > ' ' && ch < 0x7F;
    // A key that looks like the hex form or a comment is written in hex too.
    if (printable && !(c[0] == '0' && c[1] == 'x') && c[0] != '#')
        return std::string(c, 4);
    char buffer[11];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(key));
    return buffer;
}

bool ParseActionKey(const std::string& text, uint32_t& key) {
    if (text.size() == 10 && text[0] == '0' && text[1] == 'x') {
        uint32_t v = 0;
        const char* first = text.data() + 2;
        auto [end, ec] = std::from_chars(first, text.data() + text.size(), v, 16);
        if (ec != std::errc() || end != text.data() + text.size())
            return false;
        key = v;
        return true;
    }
    if (text.size() != 4)
        return false;
    for (char ch : text)
        if (!(ch > ' ' && ch < 0x7F))
            return false;
    key = static_cast<uint32_t>(VTG_FOURCC(text[0], text[1], text[2], text[3]));
    return true;
}

const char* ActionTypeName(int32_t type) {
    switch (type) {
    case kVtgActionInteger:
        return "integer";
    case kVtgActionBoolean:
        return "boolean";
    case kVtgActionEnum:
        return "enum";
    case kVtgActionReal:
        return "real";
    case kVtgActionString:
        return "string";
    default:
        return "unknown";
    }
}

std::string FormatActionReal(double value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return "nan";
    return std::string(buffer, end);
}

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '\\')
            out += "\\\\";
        else if (ch == '\n')
            out += "\\n";
        else if (ch == '\r')
            out += "\\r";
        else if (ch == '\t')
            out += "\\t";
        else if (u < 0x20 || u == 0x7F) {
            char buffer[5];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", u);
            out += buffer;
        } else
            out += ch;
    }
    return out;
}

bool HexDigit(char ch, int& v) {
    if (ch >= '0' && ch <= '9')
        v = ch - '0';
    else if (ch >= 'a' && ch <= 'f')
        v = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F')
        v = ch - 'A' + 10;
    else
        return false;
    return true;
}

bool ValidUtf8(const std::string& s);

// A text with its escapes replaced; \x escapes that leave no valid UTF-8
// are refused, as the writer could not save such a text back.
bool Unescape(const std::string& text, std::string& out, std::string& error) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (ch != '\\') {
            out += ch;
            continue;
        }
        if (++i == text.size()) {
            error = "a backslash ends the text";
            return false;
        }
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            int hi = 0, lo = 0;
            if (i + 2 >= text.size() || !HexDigit(text[i + 1], hi) || !HexDigit(text[i + 2], lo)) {
                error = "\\x needs two hex digits";
                return false;
            }
            const char byte = static_cast<char>(hi * 16 + lo);
            if (byte == '\0') {
                error = "a text cannot hold a NUL character";
                return false;
            }
            out += byte;
            i += 2;
            break;
        }
        default:
            error = std::string("unknown escape \\") + text[i];
            return false;
        }
    }
    if (!ValidUtf8(out)) {
        error = "the \\x escapes leave text that is not valid UTF-8";
        return false;
    }
    return true;
}

bool ValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = 0;
        uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            n = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3;
            cp = c & 0x07;
        } else
            return false;
        if (i + static_cast<std::size_t>(n) >= s.size())
            return false;
        for (int k = 1; k <= n; ++k) {
            const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

bool ParseInt32(const std::string& text, int32_t& value) {
    int64_t v = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        return false;
    auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last || first == last)
        return false;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool ParseReal(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last && std::isfinite(value);
}

// Splits off the first word (up to a blank) of `rest`; `rest` keeps what
// follows the single blank after it.
std::string TakeWord(std::string& rest) {
    const std::size_t blank = rest.find(' ');
    std::string word = rest.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
    return word;
}

} // namespace

std::string WriteActionEvents(const std::vector<RecordedEvent>& events) {
    std::ostringstream out;
    for (const RecordedEvent& e : events) {
        out << "action " << Escape(e.action) << '\n';
        for (const ActionValue& v : e.values.values) {
            out << "  " << FormatActionKey(v.key) << ' ' << ActionTypeName(v.type);
            switch (v.type) {
            case kVtgActionInteger:
            case kVtgActionBoolean:
                out << ' ' << v.integer;
                break;
            case kVtgActionEnum:
                out << ' ' << v.integer;
                if (!v.text.empty())
                    out << ' ' << Escape(v.text);
                break;
            case kVtgActionReal:
                out << ' ' << FormatActionReal(v.real);
                if (!v.text.empty())
                    out << ' ' << Escape(v.text);
                break;
            default:
                if (!v.text.empty())
                    out << ' ' << Escape(v.text);
                break;
            }
            out << '\n';
        }
    }
    return out.str();
}

std::string WriteActionFile(const std::vector<RecordedEvent>& events) {
    return std::string(kActionFileHeader) + "\n" + WriteActionEvents(events);
}

bool ReadActionEvents(const std::string& text, std::vector<RecordedEvent>& events,
                      std::string& error) {
    std::vector<RecordedEvent> read;
    std::set<uint32_t> keys; // of the event being read
    bool header = false;
    std::size_t number = 0;
    std::size_t start = 0;
    auto fail = [&](const std::string& reason) {
        error = std::to_string(number) + ": " + reason;
        return false;
    };
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        ++number;
        // Every saved line ends with a new line: a file that ends inside one
        // was cut off (a full disk, an interrupted copy).
        if (end == std::string::npos)
            return fail("the file ends inside this line: the last event is incomplete");
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find('\0') != std::string::npos)
            return fail("the line holds a NUL character");
        if (!ValidUtf8(line))
            return fail("the line is not valid UTF-8");
        if (!header) {
            if (line != kActionFileHeader)
                return fail(std::string("not a recorded action file (the first line must be \"") +
                            kActionFileHeader + "\")");
            header = true;
            continue;
        }
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos || line[first] == '#')
            continue;
        if (first == 0) {
            std::string rest = line;
            const std::string word = TakeWord(rest);
            if (word != "action")
                return fail("expected \"action NAME\" or an indented value, not \"" + word + "\"");
            std::string name;
            std::string why;
            if (!Unescape(rest, name, why))
                return fail(why);
            if (name.empty())
                return fail("the action has no name");
            read.push_back({name, {}});
            keys.clear();
            continue;
        }
        if (read.empty())
            return fail("a value before the first \"action\" line");
        std::string rest = line.substr(first);
        const std::string keyText = TakeWord(rest);
        ActionValue v;
        if (!ParseActionKey(keyText, v.key))
            return fail("bad key \"" + keyText +
                        "\" (four printable characters or 0x and eight hex digits)");
        if (!keys.insert(v.key).second)
            return fail("the key " + keyText + " appears twice in the event");
        const std::string type = TakeWord(rest);
        std::string why;
        if (type == "integer" || type == "boolean") {
            v.type = type == "integer" ? kVtgActionInteger : kVtgActionBoolean;
            if (!ParseInt32(rest, v.integer))
                return fail("bad " + type + " value \"" + rest + "\"");
            if (v.type == kVtgActionBoolean && v.integer != 0 && v.integer != 1)
                return fail("a boolean is 0 or 1, not \"" + rest + "\"");
        } else if (type == "enum") {
            v.type = kVtgActionEnum;
            const std::string index = TakeWord(rest);
            if (!ParseInt32(index, v.integer))
                return fail("bad enum index \"" + index + "\"");
            if (!Unescape(rest, v.text, why))
                return fail(why);
        } else if (type == "real") {
            v.type = kVtgActionReal;
            const std::string value = TakeWord(rest);
            if (!ParseReal(value, v.real))
                return fail("bad real value \"" + value + "\"");
            if (!Unescape(rest, v.text, why))
                return fail(why);
            if (v.text.size() >= kVtgUnitSize)
                return fail("the unit \"" + Escape(v.text) + "\" is longer than " +
                            std::to_string(kVtgUnitSize - 1) + " bytes");
        } else if (type == "string") {
            v.type = kVtgActionString;
            if (!Unescape(rest, v.text, why))
                return fail(why);
        } else {
            return fail("unknown value type \"" + type +
                        "\" (integer, boolean, enum, real or string)");
        }
        read.back().values.values.push_back(std::move(v));
    }
    if (!header) {
        number = 1;
        return fail(std::string("the file is empty (the first line must be \"") +
                    kActionFileHeader + "\")");
    }
    events = std::move(read);
    return true;
}

// --- replay -------------------------------------------------------------------------

ErrorCode Host::playActions(std::string* reason) {
    // A copy: the plug-in may record while it plays.
    const std::vector<RecordedEvent> events = actions_.events();
    for (std::size_t i = 0; i < events.size(); ++i) {
        const RecordedEvent& event = events[i];
        auto describe = [&](const std::string& what) {
            if (reason != nullptr)
                *reason = "event " + std::to_string(i + 1) + " (" + event.action + "): " + what;
        };
        ActionHandleOpaque* action = actions_.find(event.action);
        if (action == nullptr) {
            describe("no plug-in registered this action");
            return kNotFoundErr;
        }
        // The plug-in reads the values from a block of the host's own, freed
        // after the message whatever the plug-in answers.
        ValueBlockHandle values = nullptr;
        if (ErrorCode e = actions_.newBlock(&values, event.values)) {
            describe("no memory for the value block");
            return e;
        }
        // Each event is one undo step, like a menu command.
        doc::Document* d = docs_.current();
        if (d != nullptr)
            doc::Commit(*d);
        DoActionMessage message{};
        message.action = action;
        message.userData = action->userData;
        message.values = values;
        message.showDialog = 0;
        ErrorCode err = send(kCallerActionManager, kSelectorDoAction, &message);
        // send() has regenerated the changed plug-in art (as after any
        // message); the message may have closed or replaced the document.
        d = docs_.current();
        if (d != nullptr)
            doc::Commit(*d);
        actions_.disposeBlock(values);
        if (err != kNoErr) {
            describe(err == kCancelledErr ? "cancelled"
                                          : "the plug-in answered " + FormatCode(err));
            return err;
        }
    }
    return kNoErr;
}

} // namespace hostapp
