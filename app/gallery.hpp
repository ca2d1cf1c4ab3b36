// gallery.hpp - "vertigon demo": a gallery of every feature on built-in
// sample art (a star, letter shapes, a grid of circles, an open wave line),
// each result beside its source, made through the messages a user's
// actions send (the effect's dialog driven as a user would).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/doc/document.hpp"
#include "host/host.hpp"

namespace app {

// One shown setting of a feature: a caption and the fields a user sets.
struct GallerySetting {
    std::string caption;
    std::vector<std::pair<std::string, std::string>> fields;
};

// One row group of the gallery: a feature with its settings. Rows of later
// features are added to GalleryFeatures().
struct GalleryFeature {
    std::string feature; // "effect-lens"
    std::string title;   // shown heading
    std::string blurb;
    std::vector<GallerySetting> settings;
    // Makes the result: runs the feature on the selected sample art of the
    // current document with the setting's fields. Empty text on success.
    std::string (*make)(hostapp::Host& host, const GallerySetting& setting,
                        const std::string& feature);
    // The sample art it is shown on; empty for every sample. A feature shown
    // on one sample has its settings side by side in one row.
    std::vector<std::string> samples = {};
    // The colour the pictures are shown on ("#101018" for glowing art);
    // empty for the page's own.
    std::string background = {};
};

std::vector<GalleryFeature>& GalleryFeatures();

// The sample art names ("star", "letters", "circles", "wave"; and "heart",
// a heart with a thick stroke, for the features that work on strokes) and a
// new document holding one of them, selected.
const std::vector<std::string>& GallerySamples();
hostapp::doc::Document* MakeSampleDocument(hostapp::Host& host, const std::string& sample);

// The document as an SVG picture: its viewBox (and size) fitted to the
// visible bounds of all its art with a margin, so that nothing that reaches
// outside the page is cut off (a document without art keeps its page).
// Guides show as thin cyan lines. Empty, with `error` set, when the document
// cannot be saved.
// With `background` (a CSS colour) a rectangle of it lies under the art.
std::string FittedSvg(const hostapp::doc::Document& document, std::string* error = nullptr,
                      const std::string& background = {});

// Writes the gallery into `folder` (index.html and the pictures); an empty
// text on success, else the reason. `log` receives one line per picture.
std::string WriteGallery(hostapp::Host& host, const std::string& folder,
                         std::vector<std::string>& log);

} // namespace app
