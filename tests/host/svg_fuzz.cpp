// A libFuzzer target for the SVG reader and writer: any bytes either give
// one clear error and no document, or a document that saves, reads back
// without error and saves to the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/svg/svg.hpp"

namespace {

[[noreturn]] void Fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "svg_fuzz: %s\n%s\n", what, detail.c_str());
    std::abort();
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
    const std::string saved = hostapp::svg::WriteSvgText(*d);
    hostapp::doc::Document* back = nullptr;
    if (!hostapp::svg::ReadSvgText(store, saved, "saved.svg", back, error))
        Fault("a document read from the input does not read back once saved",
              error.message + "\n" + saved);
    const std::string again = hostapp::svg::WriteSvgText(*back);
    if (again != saved)
        Fault("a saved document saves differently once reopened", saved + "\n----\n" + again);
    return 0;
}
