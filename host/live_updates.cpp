// Regeneration of plug-in art after its source or its data changed.
#include "host/live_updates.hpp"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host/code_text.hpp"
#include "host/doc/art.hpp"
#include "host/host.hpp"
#include "host/plugin_groups.hpp"

namespace hostapp {

namespace {

using doc::ArtNode;

void Append(std::string& out, const void* data, size_t size) {
    out.append(static_cast<const char*>(data), size);
}

// What regeneration depends on: the data and the living edit art.
void Fingerprint(const ArtNode* art, std::string& out) {
    const doc::ArtState& s = art->s;
    Append(out, &s.kind, sizeof s.kind);
    Append(out, &s.closed, sizeof s.closed);
    const size_t n = s.segments.size();
    Append(out, &n, sizeof n);
    for (const PathSegment& seg : s.segments)
        Append(out, &seg, sizeof seg);
    Append(out, &s.matrix, sizeof s.matrix);
    out += s.text;
    const size_t children = s.children.size();
    Append(out, &children, sizeof children);
    for (const ArtNode* c : s.children)
        if (c->s.alive)
            Fingerprint(c, out);
    if (s.kind == kVtgArtPlugin) {
        out += s.plugin.groupName;
        Append(out, &s.plugin.dataMajor, sizeof s.plugin.dataMajor);
        Append(out, &s.plugin.dataMinor, sizeof s.plugin.dataMinor);
        out.append(s.plugin.data.begin(), s.plugin.data.end());
        if (s.plugin.edit != nullptr)
            Fingerprint(s.plugin.edit, out);
    }
}

std::string FingerprintOf(const ArtNode* art) {
    std::string out;
    Fingerprint(art, out);
    return out;
}

int Depth(const ArtNode* art) {
    int depth = 0;
    for (const ArtNode* a = art->s.parent; a != nullptr; a = a->s.parent)
        ++depth;
    return depth;
}

// The plug-in art whose edit group holds `art` (or `art` itself), every one
// up the tree.
void OwnersOf(ArtNode* art, std::vector<ArtNode*>& out) {
    for (ArtNode* a = art; a != nullptr; a = a->s.parent)
        if (a->s.alive && a->s.kind == kVtgArtPlugin)
            if (std::find(out.begin(), out.end(), a) == out.end())
                out.push_back(a);
}

ErrorCode UpdateList(Host& host, std::vector<ArtNode*>& arts, bool onlyChanged) {
    // Inner objects first: an outer one generates from their results.
    std::stable_sort(arts.begin(), arts.end(),
                     [](const ArtNode* a, const ArtNode* b) { return Depth(a) > Depth(b); });
    ErrorCode first = kNoErr;
    for (ArtNode* art : arts) {
        if (!art->s.alive || doc::RootOf(art) == nullptr)
            continue;
        auto& seen = host.liveFingerprints();
        auto it = seen.find(art);
        if (onlyChanged && it != seen.end() && it->second == FingerprintOf(art))
            continue;
        ErrorCode err = UpdatePluginArt(host, art);
        // What the result now stands for, with whatever the generator did.
        seen[art] = FingerprintOf(art);
        if (err != kNoErr)
            host.liveFailures()[art] = err;
        else
            host.liveFailures().erase(art);
        if (err != kNoErr && first == kNoErr)
            first = err;
    }
    return first;
}

std::vector<ArtNode*> PluginArtOf(doc::Document& document) {
    std::vector<ArtNode*> arts;
    for (doc::LayerNode* layer : document.layers)
        if (layer->group != nullptr)
            doc::Walk(layer->group, true, [&](ArtNode* a) {
                if (a->s.alive && a->s.kind == kVtgArtPlugin)
                    arts.push_back(a);
                return true;
            });
    return arts;
}

} // namespace

ErrorCode UpdatePluginArt(Host& host, ArtNode* art) {
    if (art == nullptr || !art->s.alive || art->s.kind != kVtgArtPlugin || !host.loaded())
        return kNoErr;
    doc::PluginArtPart& p = art->s.plugin;
    PluginGroupHandle group = p.group;
    if (group == nullptr || !IsPluginGroup(&host, group))
        group = FindPluginGroup(&host, p.groupName);
    if (group == nullptr)
        return kNoErr;
    p.group = group;
    PluginGroupMessage message;
    std::memset(&message, 0, sizeof message);
    message.group = group;
    message.art = doc::DocStore::handle(art);
    if (ErrorCode err = host.send(kCallerPluginGroup, kSelectorNotifyEdits, &message))
        return err;
    std::memset(&message, 0, sizeof message);
    message.group = group;
    message.art = doc::DocStore::handle(art);
    return host.send(kCallerPluginGroup, kSelectorUpdate, &message);
}

ErrorCode UpdateAllPluginArt(Host& host, doc::Document& document) {
    std::vector<ArtNode*> arts = PluginArtOf(document);
    return UpdateList(host, arts, false);
}

ErrorCode UpdateStalePluginArt(Host& host, doc::Document& document) {
    std::vector<ArtNode*> arts = PluginArtOf(document);
    return UpdateList(host, arts, true);
}

namespace {

// How a message names plug-in art: its id, else the first id in its
// source, else its place in the document.
std::string NameOf(ArtNode* art) {
    if (!art->s.name.empty())
        return "\"" + art->s.name + "\"";
    std::string inner;
    if (art->s.plugin.edit != nullptr)
        doc::Walk(art->s.plugin.edit, true, [&](ArtNode* a) {
            if (inner.empty() && !a->s.name.empty())
                inner = a->s.name;
            return inner.empty();
        });
    if (!inner.empty())
        return "of \"" + inner + "\"";
    return "without id at depth " + std::to_string(Depth(art));
}

} // namespace

ErrorCode UpdateChangedPluginArt(Host& host, doc::Document& document) {
    std::vector<ArtNode*> arts;
    for (const auto& [art, state] : document.pending.saved)
        OwnersOf(art, arts);
    if (arts.empty())
        return kNoErr;
    return UpdateList(host, arts, true);
}

std::vector<std::string> FailedRegenerations(Host& host, doc::Document& document) {
    std::vector<std::string> lines;
    for (doc::LayerNode* layer : document.layers)
        if (layer->alive && layer->group != nullptr)
            doc::Walk(layer->group, true, [&](ArtNode* a) {
                auto it = host.liveFailures().find(a);
                if (a->s.alive && it != host.liveFailures().end() && doc::RootOf(a) != nullptr)
                    lines.push_back("live object " + NameOf(a) +
                                    " was not regenerated: " + DescribeCode(it->second));
                return true;
            });
    return lines;
}

} // namespace hostapp
