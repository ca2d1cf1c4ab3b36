#include "platform/resources.hpp"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include <dlfcn.h>

namespace platform {
namespace {

std::string& folderOverride() {
    static std::string folder;
    return folder;
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ParseInt(const std::string& word, int& value) {
    if (word.empty())
        return false;
    char* end = nullptr;
    long v = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0' || v < -1000000 || v > 1000000)
        return false;
    value = static_cast<int>(v);
    return true;
}

const std::map<std::string, std::uint32_t>& StyleNames() {
    static const std::map<std::string, std::uint32_t> names = {
        {"group", kStyleGroup},
        {"default", kStyleDefault},
        {"ownerdraw", kStyleOwnerDraw},
        {"border", kStyleBorder},
        {"sizing", kStyleSizing},
        {"frame", kStyleDialogFrame},
        {"multiselect", kStyleMultiSelect},
        {"pushlike", kStylePushLike},
        {"placeholder", kStylePlaceholder},
        {"separator", kStyleSeparator},
        {"hidden", kStyleHidden},
        {"disabled", kStyleDisabled},
    };
    return names;
}

bool ParseStyle(const std::string& text, std::uint32_t& style, std::string& error) {
    std::stringstream in(text);
    std::string name;
    while (std::getline(in, name, '|')) {
        auto it = StyleNames().find(name);
        if (it == StyleNames().end()) {
            error = "unknown style \"" + name + "\"";
            return false;
        }
        style |= it->second;
    }
    return true;
}

bool ParseRect(const std::vector<std::string>& w, std::size_t at, Rect& rect) {
    int x, y, width, height;
    if (w.size() < at + 4 || !ParseInt(w[at], x) || !ParseInt(w[at + 1], y) ||
        !ParseInt(w[at + 2], width) || !ParseInt(w[at + 3], height) || width < 0 || height < 0)
        return false;
    rect = {x, y, x + width, y + height};
    return true;
}

// Options after the fixed words: style=, image=, items=.
bool ParseOptions(const std::vector<std::string>& w, std::size_t at, std::uint32_t& style,
                  int* image, std::vector<std::string>* items, std::string& error) {
    for (std::size_t i = at; i < w.size(); ++i) {
        const std::string& word = w[i];
        std::size_t eq = word.find('=');
        std::string key = eq == std::string::npos ? word : word.substr(0, eq);
        std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
        if (key == "style") {
            if (!ParseStyle(value, style, error))
                return false;
        } else if (key == "image" && image != nullptr) {
            if (!ParseInt(value, *image)) {
                error = "bad image id \"" + value + "\"";
                return false;
            }
        } else if (key == "items" && items != nullptr) {
            std::stringstream in(value);
            std::string item;
            while (std::getline(in, item, '|'))
                items->push_back(item);
        } else {
            error = "unknown option \"" + word + "\"";
            return false;
        }
    }
    return true;
}

} // namespace

bool SplitLine(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        std::string word;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\' && i < line.size()) {
                    char e = line[i++];
                    word += e == 'n' ? '\n' : e;
                } else {
                    word += d;
                }
            }
            if (!closed) {
                error = "unterminated text";
                return false;
            }
        }
        words.push_back(word);
    }
    return true;
}

std::string BinaryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&BinaryFolder), &info) == 0 || info.dli_fname == nullptr)
        return ".";
    std::string path = info.dli_fname;
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string ResourceFolder() {
    if (!folderOverride().empty())
        return folderOverride();
    return BinaryFolder() + "/resources";
}

void SetResourceFolder(const std::string& folder) {
    folderOverride() = folder;
}

std::optional<DialogTemplate> ParseDialogTemplate(const std::string& text, std::string& error) {
    DialogTemplate dialog;
    bool haveDialog = false;
    std::stringstream in(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& reason) {
        error = "line " + std::to_string(number) + ": " + reason;
        return std::nullopt;
    };
    while (std::getline(in, line)) {
        ++number;
        std::vector<std::string> w;
        std::string reason;
        if (!SplitLine(line, w, reason))
            return fail(reason);
        if (w.empty())
            continue;
        if (w[0] == "dialog") {
            if (haveDialog)
                return fail("a second dialog statement");
            if (w.size() < 7 || !ParseInt(w[1], dialog.id) || !ParseRect(w, 3, dialog.rect))
                return fail("usage: dialog ID \"TITLE\" X Y W H [style=...]");
            dialog.title = w[2];
            if (!ParseOptions(w, 7, dialog.style, nullptr, nullptr, reason))
                return fail(reason);
            haveDialog = true;
        } else if (w[0] == "control") {
            if (!haveDialog)
                return fail("control before the dialog statement");
            ControlTemplate c;
            if (w.size() < 8 || !ParseInt(w[1], c.id) || !ParseRect(w, 3, c.rect))
                return fail("usage: control ID CLASS X Y W H \"TEXT\" [options]");
            auto cls = ClassFromName(w[2]);
            if (!cls || *cls == WindowClass::TopLevel || *cls == WindowClass::Dialog)
                return fail("unknown control class \"" + w[2] + "\"");
            c.cls = *cls;
            c.text = w[7];
            if (!ParseOptions(w, 8, c.style, &c.image, &c.items, reason))
                return fail(reason);
            dialog.controls.push_back(std::move(c));
        } else {
            return fail("unknown statement \"" + w[0] + "\"");
        }
    }
    if (!haveDialog) {
        error = "no dialog statement";
        return std::nullopt;
    }
    return dialog;
}

std::optional<DialogTemplate> LoadDialogTemplate(int id, std::string& error) {
    std::string path = ResourceFolder() + "/dialogs/" + std::to_string(id) + ".dlg";
    auto text = ReadFile(path);
    if (!text) {
        error = "dialog template " + std::to_string(id) + " not found (" + path + ")";
        return std::nullopt;
    }
    std::string reason;
    auto dialog = ParseDialogTemplate(*text, reason);
    if (!dialog) {
        error = path + ": " + reason;
        return std::nullopt;
    }
    if (dialog->id != id) {
        error = path + ": the template says id " + std::to_string(dialog->id);
        return std::nullopt;
    }
    return dialog;
}

std::optional<std::string> LoadTextResource(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos || name.find("..") != std::string::npos)
        return std::nullopt;
    return ReadFile(ResourceFolder() + "/" + name);
}

std::optional<ImageResource> LoadImage(ImageKind kind, int id) {
    auto table = LoadTextResource("IDTOFILE");
    if (!table)
        return std::nullopt;
    const char* kindName = kind == ImageKind::Bitmap ? "bitmap"
                           : kind == ImageKind::Icon ? "icon"
                                                     : "cursor";
    std::stringstream in(*table);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> w;
        std::string error;
        int listed = 0;
        if (!SplitLine(line, w, error) || w.size() != 3 || w[0] != kindName ||
            !ParseInt(w[1], listed) || listed != id)
            continue;
        if (w[2].find("..") != std::string::npos)
            return std::nullopt;
        ImageResource image;
        image.kind = kind;
        image.id = id;
        image.path = ResourceFolder() + "/" + w[2];
        auto text = ReadFile(image.path);
        if (!text)
            return std::nullopt;
        // The size from the svg element's width and height.
        for (auto [attr, slot] :
             {std::pair{"width=\"", &image.width}, std::pair{"height=\"", &image.height}}) {
            std::size_t svg = text->find("<svg");
            std::size_t at = svg == std::string::npos ? svg : text->find(attr, svg);
            if (at != std::string::npos)
                *slot = std::atoi(text->c_str() + at + std::string(attr).size());
        }
        return image;
    }
    return std::nullopt;
}

std::optional<ImageResource> LoadCursor(const std::string& name) {
    static constexpr const char* kPrefix = "CURS_";
    if (name.rfind(kPrefix, 0) != 0)
        return std::nullopt;
    std::string rest = name.substr(std::strlen(kPrefix));
    int num = 2, den = 2;
    for (auto [suffix, n] : {std::pair{"_AT_2X", 4}, std::pair{"_AT_3TO2X", 3}}) {
        const std::size_t len = std::strlen(suffix);
        if (rest.size() > len && rest.compare(rest.size() - len, len, suffix) == 0) {
            rest.resize(rest.size() - len);
            num = n;
            break;
        }
    }
    int id = 0;
    if (rest.empty() || rest.find_first_not_of("0123456789") != std::string::npos ||
        rest.size() > 9 || !ParseInt(rest, id))
        return std::nullopt;
    auto image = LoadImage(ImageKind::Cursor, id);
    if (image) {
        image->width = image->width * num / den;
        image->height = image->height * num / den;
    }
    return image;
}

std::string CursorResourceName(int id, double scale) {
    const std::string name = "CURS_" + std::to_string(id);
    if (scale == 2)
        return name + "_AT_2X";
    if (scale == 1.5)
        return name + "_AT_3TO2X";
    return name;
}

std::vector<int> ListedImages(ImageKind kind) {
    std::vector<int> ids;
    auto table = LoadTextResource("IDTOFILE");
    if (!table)
        return ids;
    const char* kindName = kind == ImageKind::Bitmap ? "bitmap"
                           : kind == ImageKind::Icon ? "icon"
                                                     : "cursor";
    std::stringstream in(*table);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> w;
        std::string error;
        int id = 0;
        if (SplitLine(line, w, error) && w.size() == 3 && w[0] == kindName && ParseInt(w[1], id))
            ids.push_back(id);
    }
    return ids;
}

std::string ImageSvgText(const ImageResource& image) {
    auto text = ReadFile(image.path);
    if (!text)
        return "";
    std::size_t svg = text->find("<svg");
    if (svg == std::string::npos)
        return "";
    return text->substr(svg);
}

} // namespace platform
