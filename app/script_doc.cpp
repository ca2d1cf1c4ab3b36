// Script commands on documents: new, open, save, close, select, move, update.
#include <cmath>
#include <cstdlib>

#include "app/script.hpp"
#include "host/code_text.hpp"
#include "host/doc/art.hpp"
#include "host/effects/live_effects.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"

namespace app {

namespace {

bool PageSize(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0' && value > 0 && value <= 1e7;
}

// Tells a started plug-in about a document event.
void Notify(hostapp::Host& host, const char* type) {
    if (host.started())
        host.notify(type, nullptr);
}

// "move ID DX DY": the art moves as a drag would move it, then the host
// regenerates the live objects whose source it is.
bool MoveArt(hostapp::Host& host, hostapp::doc::Document& d, const std::vector<std::string>& words,
             std::string& reason, bool& ok) {
    double dx = 0, dy = 0;
    char* end1 = nullptr;
    char* end2 = nullptr;
    if (words.size() == 4) {
        dx = std::strtod(words[2].c_str(), &end1);
        dy = std::strtod(words[3].c_str(), &end2);
    }
    if (words.size() != 4 || end1 == nullptr || *end1 != '\0' || end2 == nullptr || *end2 != '\0' ||
        words[2].empty() || words[3].empty() || !std::isfinite(dx) || !std::isfinite(dy)) {
        reason = "usage: move ID DX DY";
        return true;
    }
    hostapp::doc::ArtNode* found = nullptr;
    for (hostapp::doc::LayerNode* l : d.layers)
        hostapp::doc::Walk(l->group, true, [&](hostapp::doc::ArtNode* a) {
            if (found == nullptr && a->s.alive && a->s.name == words[1] && a->layer == nullptr)
                found = a;
            return found == nullptr;
        });
    if (found == nullptr) {
        reason = "move: no art with id \"" + words[1] + "\"";
        return true;
    }
    hostapp::doc::Commit(d);
    hostapp::doc::TransformArt(found, {1, 0, 0, 1, dx, dy}, 1, kVtgTransformAll);
    ErrorCode err = host.started() ? hostapp::UpdateChangedPluginArt(host, d) : kNoErr;
    hostapp::doc::Commit(d);
    ok = err == kNoErr;
    if (!ok)
        reason = "move: " + hostapp::FormatCode(err);
    return true;
}

} // namespace

bool ScriptRunner::executeDoc(const std::vector<std::string>& words, std::string& reason,
                              bool& ok) {
    const std::string& command = words[0];
    hostapp::doc::DocStore& docs = host_.docs();
    ok = false;
    if (command == "new") {
        double w = 612, h = 792;
        if (words.size() == 3) {
            if (!PageSize(words[1], w) || !PageSize(words[2], h)) {
                reason = "new: the page size must be two positive numbers of points";
                return true;
            }
        } else if (words.size() != 1) {
            reason = "usage: new [WIDTH HEIGHT]";
            return true;
        }
        docs.newDocument(w, h)->pending = {};
        Notify(host_, "Host Document Opened Notifier");
        ok = true;
        return true;
    }
    if (command == "open") {
        if (words.size() != 2) {
            reason = "usage: open PATH";
            return true;
        }
        hostapp::doc::Document* d = nullptr;
        hostapp::svg::SvgError error;
        if (!hostapp::svg::ReadSvgFile(docs, words[1], d, error)) {
            reason = error.message;
            return true;
        }
        Notify(host_, "Host Document Opened Notifier");
        // The file's live effects are shown made again from their sources.
        if (host_.started())
            hostapp::effects::RenderDocument(host_, *d);
        ok = true;
        return true;
    }
    if (command == "undo" || command == "redo") {
        hostapp::doc::Document* d = docs.current();
        if (d == nullptr) {
            reason = command + ": no document is open";
            return true;
        }
        if (words.size() != 1) {
            reason = "usage: " + command;
            return true;
        }
        hostapp::doc::Commit(*d);
        if (!(command == "undo" ? hostapp::doc::Undo(*d) : hostapp::doc::Redo(*d))) {
            reason = command + ": there is nothing to " + command;
            return true;
        }
        ok = true;
        return true;
    }
    if (command == "move" || command == "update") {
        hostapp::doc::Document* d = docs.current();
        if (d == nullptr) {
            reason = command + ": no document is open";
            return true;
        }
        if (command == "update") {
            if (words.size() != 1) {
                reason = "usage: update";
                return true;
            }
            ErrorCode err = hostapp::UpdateAllPluginArt(host_, *d);
            ok = err == kNoErr;
            if (!ok)
                reason = "update: " + hostapp::FormatCode(err);
            return true;
        }
        return MoveArt(host_, *d, words, reason, ok);
    }
    if (command == "save" || command == "close" || command == "select") {
        hostapp::doc::Document* d = docs.current();
        if (d == nullptr) {
            reason = command + ": no document is open";
            return true;
        }
        if (command == "save") {
            if (words.size() != 2) {
                reason = "usage: save PATH";
                return true;
            }
            hostapp::svg::SvgError error;
            // A result that could not be made is never saved as if it were.
            std::vector<std::string> failed;
            if (host_.started()) {
                failed = hostapp::effects::RenderDocumentFailures(host_, *d);
                for (std::string& line : hostapp::FailedRegenerations(host_, *d))
                    failed.push_back(std::move(line));
            }
            if (!failed.empty()) {
                reason = "save: " + failed.front();
                return true;
            }
            if (!hostapp::svg::WriteSvgFile(*d, words[1], error)) {
                reason = error.message;
                return true;
            }
            ok = true;
            return true;
        }
        if (command == "close") {
            if (words.size() != 1) {
                reason = "usage: close";
                return true;
            }
            docs.close(d);
            Notify(host_, "Host Document Closed Notifier");
            ok = true;
            return true;
        }
        if (words.size() < 2) {
            reason = "usage: select all | none | ID...";
            return true;
        }
        std::vector<hostapp::doc::ArtNode*> chosen;
        if (words.size() == 2 && words[1] == "all") {
            for (hostapp::doc::LayerNode* l : d->layers)
                for (hostapp::doc::ArtNode* a : l->group->s.children)
                    if ((a->s.attributes & kVtgArtLocked) == 0)
                        chosen.push_back(a);
        } else if (!(words.size() == 2 && words[1] == "none")) {
            for (std::size_t i = 1; i < words.size(); ++i) {
                hostapp::doc::ArtNode* found = nullptr;
                for (hostapp::doc::LayerNode* l : d->layers)
                    hostapp::doc::Walk(l->group, false, [&](hostapp::doc::ArtNode* a) {
                        if (found == nullptr && a->s.name == words[i] && a->layer == nullptr)
                            found = a;
                        return found == nullptr;
                    });
                if (found == nullptr) {
                    reason = "select: no art with id \"" + words[i] + "\"";
                    return true;
                }
                chosen.push_back(found);
            }
        }
        // Selecting ends the operation before it and is no undo step itself.
        hostapp::doc::Commit(*d);
        hostapp::doc::SelectNone(*d);
        for (hostapp::doc::ArtNode* a : chosen)
            hostapp::doc::SetAttributes(a, kVtgArtSelected, true);
        d->pending = {};
        Notify(host_, "Host Art Selection Changed Notifier");
        ok = true;
        return true;
    }
    return false;
}

} // namespace app
