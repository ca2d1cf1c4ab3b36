// resources.hpp - resources by numeric id: dialog templates, bitmaps, icons,
// cursors and text resources, read from the resources folder installed
// beside the binaries.
//
// A dialog template is the text file "dialogs/ID.dlg", one statement a line
// ("#" starts a comment, texts in double quotes):
//   dialog ID "TITLE" X Y W H [style=a|b]
//   control ID CLASS X Y W H "TEXT" [style=a|b] [image=N] [items="a|b|c"]
// CLASS is a name of ClassName(); style names are group, default,
// ownerdraw, border, sizing, frame, multiselect, pushlike, placeholder,
// separator, hidden, disabled.
//
// The text resource "IDTOFILE" (file "IDTOFILE") maps images to files, one
// "KIND ID FILE" a line, KIND being bitmap, icon or cursor and FILE relative
// to the resources folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/window.hpp"

namespace platform {

// The folder resources are read from: set by SetResourceFolder, else the
// folder "resources" beside this library.
std::string ResourceFolder();
void SetResourceFolder(const std::string& folder); // empty restores the default
// The folder that holds this library (the binaries' folder).
std::string BinaryFolder();

struct ControlTemplate {
    int id = 0;
    WindowClass cls = WindowClass::Static;
    std::string text;
    Rect rect;
    std::uint32_t style = 0;
    int image = -1;
    std::vector<std::string> items;
};

struct DialogTemplate {
    int id = 0;
    std::string title;
    Rect rect;
    std::uint32_t style = 0;
    std::vector<ControlTemplate> controls;
};

// Parses a template text; nullopt with `error` ("line N: reason").
std::optional<DialogTemplate> ParseDialogTemplate(const std::string& text, std::string& error);
std::optional<DialogTemplate> LoadDialogTemplate(int id, std::string& error);

// A text resource by name, nullopt when missing.
std::optional<std::string> LoadTextResource(const std::string& name);

enum class ImageKind { Bitmap, Icon, Cursor };
struct ImageResource {
    ImageKind kind = ImageKind::Bitmap;
    int id = 0;
    std::string path; // absolute
    int width = 0, height = 0;
};
// The image of (kind, id) through "IDTOFILE"; nullopt when not listed or
// the file is missing.
std::optional<ImageResource> LoadImage(ImageKind kind, int id);
// A cursor by its resource name: "CURS_ID" at its own size, "CURS_ID_AT_2X"
// at twice and "CURS_ID_AT_3TO2X" at one and a half times that size, all
// drawn from the one SVG that "IDTOFILE" lists for (cursor, ID). nullopt for
// another name or an id that is not listed.
std::optional<ImageResource> LoadCursor(const std::string& name);
// The resource name of cursor `id` at `scale` (1, 1.5 or 2; others give 1).
std::string CursorResourceName(int id, double scale);
// The ids "IDTOFILE" lists for a kind, in table order.
std::vector<int> ListedImages(ImageKind kind);

// The SVG text of an image file (the XML prolog removed), empty when the
// file is not SVG or unreadable.
std::string ImageSvgText(const ImageResource& image);

// Splits a line into words: blanks separate, "#" outside a text starts a
// comment, texts in double quotes may hold blanks, \n and \". A word may
// be `key="text"`. False with a reason for an unterminated text.
bool SplitLine(const std::string& line, std::vector<std::string>& words, std::string& error);

} // namespace platform
