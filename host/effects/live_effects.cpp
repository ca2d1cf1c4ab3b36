#include "host/effects/live_effects.hpp"

#include <algorithm>

#include "host/api/vtg_live_effect_suite.h"
#include "host/code_text.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"

namespace hostapp::effects {
namespace {

using doc::ArtNode;
using doc::Document;
using doc::Entries;

// One running edit: the art whose instance is edited and the instance's
// position in each art's effect list. The edit message carries its address
// as the preview context.
struct EditSession {
    Host* host = nullptr;
    Document* document = nullptr;
    std::string name;
    std::vector<ArtNode*> targets;
    std::vector<size_t> slots;
    bool expand = false; // "expandStyle" was asked for during the edit
};

std::vector<EditSession*> gSessions; // innermost last

LiveEffectHandleOpaque* FindEffect(Host& host, const std::string& name) {
    return host.registry().findLiveEffect(name);
}

// A free-standing dictionary holding `entries`, for one message.
struct TempDictionary {
    doc::DocStore& store;
    doc::DictNode* node;
    explicit TempDictionary(doc::DocStore& s, const Entries& entries)
        : store(s), node(s.newDictionary()) {
        node->entries = entries;
    }
    ~TempDictionary() {
        node->alive = false;
        node->entries.clear();
    }
    TempDictionary(const TempDictionary&) = delete;
    TempDictionary& operator=(const TempDictionary&) = delete;
    DictionaryHandle handle() const { return doc::DocStore::handle(node); }
};

// Puts the edited entries into every target's instance (a pending change).
void StoreParameters(EditSession& s, const Entries& entries) {
    for (size_t i = 0; i < s.targets.size(); ++i) {
        ArtNode* a = s.targets[i];
        if (!a->s.alive || s.slots[i] >= a->s.effects.size())
            continue;
        if (a->s.effects[s.slots[i]].parameters == entries)
            continue;
        doc::Touch(a);
        a->s.effects[s.slots[i]].parameters = entries;
    }
}

ErrorCode RenderTargets(EditSession& s) {
    ErrorCode first = kNoErr;
    for (ArtNode* a : s.targets) {
        ErrorCode e = RenderArt(*s.host, a);
        if (first == kNoErr)
            first = e;
    }
    s.document->redraws++;
    return first;
}

ErrorCode ExpandArts(Host& host, const std::vector<ArtNode*>& arts);

// Runs the edit of `session`; the instances exist already (new ones with
// empty parameters). Accepted: the edited entries stay and become one undo
// step; otherwise the document returns to where it was.
ErrorCode RunEdit(EditSession& session, const Entries& initial, bool isNew) {
    LiveEffectHandleOpaque* effect = FindEffect(*session.host, session.name);
    TempDictionary dict(session.host->docs(), initial);
    LiveEffectEditMessage m{};
    m.effect = effect;
    m.parameters = dict.handle();
    m.isNewInstance = isNew ? 1 : 0;
    m.preview = &session;
    gSessions.push_back(&session);
    ErrorCode result = session.host->send(kCallerLiveEffect, kSelectorEffectEditParameters, &m);
    gSessions.pop_back();
    Document& d = *session.document;
    if (result == kNoErr) {
        StoreParameters(session, dict.node->entries);
        // Accepted parameters the effect cannot render are no edit either.
        result = RenderTargets(session);
        if (result == kNoErr) {
            // Expanded in the same step as the edit: one undo brings back the
            // art as it was before the edit.
            if (session.expand)
                result = ExpandArts(*session.host, session.targets);
            doc::Commit(d);
            return result;
        }
    }
    // Whatever the preview left (the plug-in normally reverts it itself).
    doc::RevertPending(d);
    RenderTargets(session);
    return result;
}

// Whether `copy` has the tree shape of `art`, so that its records can take
// the art's states again instead of new records.
bool SameShape(const ArtNode* art, const ArtNode* copy) {
    const doc::ArtState &a = art->s, &c = copy->s;
    if (!c.alive || a.kind != c.kind || a.children.size() != c.children.size() ||
        (a.plugin.edit == nullptr) != (c.plugin.edit == nullptr) ||
        (a.plugin.result == nullptr) != (c.plugin.result == nullptr))
        return false;
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!SameShape(a.children[i], c.children[i]))
            return false;
    return (a.plugin.edit == nullptr || SameShape(a.plugin.edit, c.plugin.edit)) &&
           (a.plugin.result == nullptr || SameShape(a.plugin.result, c.plugin.result));
}

// Gives every record of `copy` the state of its twin in `art`, as CopyTree
// would, keeping the copy's own links.
void Refill(const ArtNode* art, ArtNode* copy) {
    doc::ArtState& c = copy->s;
    ArtNode* parent = c.parent;
    std::vector<ArtNode*> children = std::move(c.children);
    ArtNode* edit = c.plugin.edit;
    ArtNode* result = c.plugin.result;
    c = art->s;
    c.parent = parent;
    c.alive = true;
    c.attributes &= ~kVtgArtSelected;
    c.children = std::move(children);
    c.plugin.edit = edit;
    c.plugin.result = result;
    for (size_t i = 0; i < c.children.size(); ++i)
        Refill(art->s.children[i], c.children[i]);
    if (edit != nullptr)
        Refill(art->s.plugin.edit, edit);
    if (result != nullptr)
        Refill(art->s.plugin.result, result);
}

// Each art with live effects becomes plain art: a copy of what its effects
// show takes its place (its id and selection with it), without effects.
ErrorCode ExpandArts(Host& host, const std::vector<ArtNode*>& arts) {
    for (ArtNode* a : arts) {
        if (!a->s.alive || a->s.effects.empty() || a->layer != nullptr)
            continue;
        if (ErrorCode e = RenderArt(host, a))
            return e; // the art keeps its effects
        if (a->effectResult == nullptr)
            continue;
        ArtNode* plain = nullptr;
        if (ErrorCode e = doc::DuplicateArt(a->effectResult, kVtgPlaceAbove, a, plain))
            return e;
        plain->s.name = a->s.name;
        plain->s.effects.clear();
        if ((a->s.attributes & kVtgArtSelected) != 0)
            doc::SetAttributes(plain, kVtgArtSelected, true);
        if (ErrorCode e = doc::DeleteArt(a))
            return e;
    }
    return kNoErr;
}

} // namespace

std::vector<ArtNode*> SelectedObjects(Document& d) {
    std::vector<ArtNode*> out;
    for (doc::LayerNode* l : d.layers) {
        if (!l->alive || l->group == nullptr)
            continue;
        doc::Walk(l->group, false, [&](ArtNode* a) {
            if (a->layer != nullptr)
                return true; // the layer group itself
            if ((a->s.attributes & kVtgArtSelected) != 0) {
                out.push_back(a);
                return false;
            }
            return true;
        });
    }
    return out;
}

ErrorCode AddEffect(Host& host, const std::string& name) {
    Document* d = host.docs().current();
    if (FindEffect(host, name) == nullptr)
        return kNotFoundErr;
    if (d == nullptr)
        return kNoSelectionErr;
    EditSession s;
    s.host = &host;
    s.document = d;
    s.name = name;
    s.targets = SelectedObjects(*d);
    if (s.targets.empty())
        return kNoSelectionErr;
    doc::Commit(*d);
    for (ArtNode* a : s.targets) {
        doc::Touch(a);
        a->s.effects.push_back(doc::EffectInstance{name, {}});
        s.slots.push_back(a->s.effects.size() - 1);
    }
    return RunEdit(s, {}, true);
}

ErrorCode EditEffect(Host& host, const std::string& name) {
    Document* d = host.docs().current();
    if (d == nullptr)
        return kNoSelectionErr;
    EditSession s;
    s.host = &host;
    s.document = d;
    Entries initial;
    for (ArtNode* a : SelectedObjects(*d)) {
        for (size_t i = a->s.effects.size(); i-- > 0;) {
            const doc::EffectInstance& fx = a->s.effects[i];
            if (!name.empty() && fx.name != name)
                continue;
            if (s.name.empty()) {
                s.name = fx.name;
                initial = fx.parameters;
            }
            if (fx.name != s.name)
                continue;
            s.targets.push_back(a);
            s.slots.push_back(i);
            break;
        }
    }
    if (s.targets.empty())
        return kNoSelectionErr;
    if (FindEffect(host, s.name) == nullptr)
        return kNotFoundErr;
    doc::Commit(*d);
    return RunEdit(s, initial, false);
}

ErrorCode RenderArt(Host& host, ArtNode* art) {
    if (art == nullptr || !art->s.alive)
        return kNoErr;
    if (art->s.effects.empty()) {
        art->effectResult = nullptr;
        return kNoErr;
    }
    Document& d = *art->document;
    // The copy's changes are the host's own drawing, no step of the undo
    // history; the plug-in's undo text is kept.
    // Moved aside, not copied: a copy of the pending step per rendered art
    // made rendering N arts take time N squared.
    doc::Transaction saved = std::move(d.pending);
    d.pending = {};
    // The records of the last result are used again when the tree has kept
    // its shape (every preview would otherwise add a whole new copy).
    ArtNode* copy = art->effectResult;
    if (copy != nullptr && copy->document == &d && copy->s.parent == nullptr &&
        SameShape(art, copy))
        Refill(art, copy);
    else
        copy = doc::CopyTree(d, art);
    copy->s.effects.clear();
    ErrorCode first = kNoErr;
    for (const doc::EffectInstance& fx : art->s.effects) {
        LiveEffectHandleOpaque* effect = FindEffect(host, fx.name);
        if (effect == nullptr || !host.loaded())
            continue; // an effect of another plug-in: left out
        TempDictionary dict(host.docs(), fx.parameters);
        LiveEffectGoMessage m{};
        m.effect = effect;
        m.parameters = dict.handle();
        m.art = doc::DocStore::handle(copy);
        ErrorCode e = host.send(kCallerLiveEffect, kSelectorEffectGoLive, &m);
        if (first == kNoErr)
            first = e;
    }
    // Tags an effect sets on the art it was given (Fractalize's "randSeed")
    // belong to the instance: kept on the source, so the next rendering and
    // a saved file find them.
    for (const auto& [name, value] : copy->s.tags)
        art->s.tags[name] = value;
    // The result shows the source's ids only once: on the source.
    doc::Walk(copy, true, [](ArtNode* n) {
        n->s.name.clear();
        return true;
    });
    const std::string undoText = d.pending.undoText, redoText = d.pending.redoText;
    d.pending = std::move(saved);
    if (!undoText.empty()) {
        d.pending.undoText = undoText;
        d.pending.redoText = redoText;
    }
    art->effectResult = copy;
    return first;
}

ErrorCode ExpandStyle(Host& host) {
    Document* d = host.docs().current();
    if (d == nullptr)
        return kNoSelectionErr;
    // Asked during an edit: the art is expanded with the edited parameters
    // once the edit is accepted.
    if (!gSessions.empty() && gSessions.back()->document == d) {
        gSessions.back()->expand = true;
        return kNoErr;
    }
    return ExpandArts(host, SelectedObjects(*d));
}

namespace {

// Renders every art of the document that has effects, inner art first;
// `each` sees every art's result. Live objects first show what their source
// and data make, however they changed; the effects then run on that. Returns
// the live objects' first error.
template <typename F> ErrorCode RenderEach(Host& host, Document& d, F&& each) {
    const ErrorCode stale = host.started() ? UpdateStalePluginArt(host, d) : kNoErr;
    std::vector<ArtNode*> arts;
    for (doc::LayerNode* l : d.layers)
        if (l->alive && l->group != nullptr)
            doc::Walk(l->group, true, [&](ArtNode* a) {
                if (!a->s.effects.empty())
                    arts.push_back(a);
                return true;
            });
    for (auto it = arts.rbegin(); it != arts.rend(); ++it)
        each(*it, RenderArt(host, *it));
    return stale;
}

} // namespace

ErrorCode RenderDocument(Host& host, Document& d) {
    ErrorCode first = kNoErr;
    const ErrorCode stale = RenderEach(host, d, [&](ArtNode*, ErrorCode e) {
        if (first == kNoErr)
            first = e;
    });
    return stale != kNoErr ? stale : first;
}

std::vector<std::string> RenderDocumentFailures(Host& host, Document& d) {
    std::vector<std::string> lines;
    RenderEach(host, d, [&](ArtNode* a, ErrorCode e) {
        if (e == kNoErr)
            return;
        const std::string name =
            a->s.name.empty() ? std::string("art without id") : "\"" + a->s.name + "\"";
        lines.push_back("the effects of " + name + " failed: " + DescribeCode(e));
    });
    return lines;
}

ErrorCode Interpolate(Host& host, const std::string& name, const Entries& start, const Entries& end,
                      double fraction, Entries& out) {
    LiveEffectHandleOpaque* effect = FindEffect(host, name);
    if (effect == nullptr)
        return kNotFoundErr;
    TempDictionary s(host.docs(), start), e(host.docs(), end), o(host.docs(), {});
    LiveEffectInterpolateMessage m{};
    m.effect = effect;
    m.start = s.handle();
    m.end = e.handle();
    m.output = o.handle();
    m.fraction = fraction;
    ErrorCode result = host.send(kCallerLiveEffect, kSelectorEffectInterpolate, &m);
    out = o.node->entries;
    return result;
}

ErrorCode ScaleParameters(Host& host, ArtNode* art, double scale) {
    ErrorCode first = kNoErr;
    doc::Walk(art, true, [&](ArtNode* a) {
        for (size_t i = 0; i < a->s.effects.size(); ++i) {
            LiveEffectHandleOpaque* effect = FindEffect(host, a->s.effects[i].name);
            if (effect == nullptr || (effect->styleFlags & kEffectScalableParams) == 0)
                continue;
            TempDictionary dict(host.docs(), a->s.effects[i].parameters);
            LiveEffectScaleMessage m{};
            m.effect = effect;
            m.parameters = dict.handle();
            m.scale = scale;
            ErrorCode e = host.send(kCallerLiveEffect, kSelectorEffectScaleParameters, &m);
            if (e == kNoErr && m.scaled != 0) {
                doc::Touch(a);
                a->s.effects[i].parameters = dict.node->entries;
            } else if (first == kNoErr) {
                first = e;
            }
        }
        return true;
    });
    return first;
}

// The edit suite's operation: the edited parameters shown on preview copies.
ErrorCode UpdateEditedParameters(void* preview, DictionaryHandle parameters) {
    auto it = std::find(gSessions.begin(), gSessions.end(), static_cast<EditSession*>(preview));
    if (it == gSessions.end())
        return kBadParameterErr;
    EditSession& s = **it;
    doc::DictNode* dict = nullptr;
    if (s.host->docs().dictionary(parameters, dict) != kNoErr || dict->owner != nullptr)
        return kBadParameterErr;
    StoreParameters(s, dict->entries);
    return RenderTargets(s);
}

} // namespace hostapp::effects
