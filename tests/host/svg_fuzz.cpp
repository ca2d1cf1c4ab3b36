// A libFuzzer target for the SVG reader and writer: any bytes either give
// one clear error and no document, or a document that saves, reads back
// without error and saves to the same text again; changed as a plug-in may
// change it, the document saves and reopens the same way or its save is
// refused with one clear error.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "host/doc/art.hpp"
#include "host/svg/svg.hpp"

namespace {

[[noreturn]] void Fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "svg_fuzz: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// Changes a document as a plug-in may: points moved anywhere (beyond what a
// file can hold as well), copies sharing their source's id, odd names.
void Change(hostapp::doc::Document& d, uint32_t seed) {
    std::vector<hostapp::doc::ArtNode*> arts;
    for (auto* l : d.layers)
        hostapp::doc::Walk(l->group, true, [&](hostapp::doc::ArtNode* a) {
            arts.push_back(a);
            return true;
        });
    if (arts.empty())
        return;
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             1e300,
                             -1e9,
                             1e9 + 1,
                             4.9e-324,
                             5e-7,
                             -0.0,
                             12345.678901};
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int i = 0; i < 4; ++i) {
        hostapp::doc::ArtNode* a = arts[next() % arts.size()];
        switch (next() % 4) {
        case 0:
            for (PathSegment& s : a->s.segments)
                s.anchor.x = values[next() % std::size(values)];
            break;
        case 1:
            a->s.name = arts[next() % arts.size()]->s.name;
            break;
        case 2:
            a->s.name = std::string(1, static_cast<char>(next() % 256)) + "x";
            break;
        default:
            a->s.style.stroke.width = values[next() % std::size(values)];
            break;
        }
    }
}

// Saves with the checked writer; the text must read back and save the same.
void SaveAndReopen(hostapp::doc::DocStore& store, const hostapp::doc::Document& d, bool changed) {
    std::string saved;
    hostapp::svg::SvgError error;
    if (!hostapp::svg::WriteSvgText(d, saved, error)) {
        if (!changed)
            Fault("a document read from the input cannot be saved", error.message);
        if (error.message.rfind("cannot save: ", 0) != 0 ||
            error.message.find('\n') != std::string::npos)
            Fault("a refused save gave no one-line error", error.message);
        return;
    }
    hostapp::doc::Document* back = nullptr;
    if (!hostapp::svg::ReadSvgText(store, saved, "saved.svg", back, error))
        Fault("a saved document does not read back", error.message + "\n" + saved);
    std::string again;
    if (!hostapp::svg::WriteSvgText(*back, again, error))
        Fault("a reopened document cannot be saved", error.message);
    if (again != saved)
        Fault("a saved document saves differently once reopened", saved + "\n----\n" + again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    hostapp::doc::DocStore store;
    hostapp::doc::Document* keep = store.newDocument(10, 10);
    hostapp::doc::Document* d = nullptr;
    hostapp::svg::SvgError error;
    if (!hostapp::svg::ReadSvgText(store, text, "fuzz.svg", d, error)) {
        if (d != nullptr || store.current() != keep || store.openDocuments().size() != 1)
            Fault("a failed read left a document behind", error.message);
        if (error.message.rfind("fuzz.svg:", 0) != 0 ||
            error.message.find('\n') != std::string::npos)
            Fault("a failed read gave no one-line error", error.message);
        return 0;
    }
    SaveAndReopen(store, *d, false);
    uint32_t seed = 2166136261u;
    for (uint8_t b : text)
        seed = (seed ^ b) * 16777619u;
    Change(*d, seed);
    SaveAndReopen(store, *d, true);
    return 0;
}
