// The suites plug-ins register their menus, filters, live effects, tools and
// annotators with, and the host command suite.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/api/vtg_annotator_suite.h"
#include "host/api/vtg_command_suite.h"
#include "host/api/vtg_filter_suite.h"
#include "host/api/vtg_live_effect_suite.h"
#include "host/api/vtg_menu_suite.h"
#include "host/api/vtg_tool_suite.h"
#include "host/doc/art.hpp"
#include "host/host.hpp"
#include "host/suites/suites.hpp"
#include "platform/resources.hpp"

namespace hostapp {
namespace {

Registry* R() {
    return Host::current() ? &Host::current()->registry() : nullptr;
}

bool Empty(const char* s) {
    return s == nullptr || *s == '\0';
}

template <typename T> bool Owns(const std::vector<std::unique_ptr<T>>& v, const T* p) {
    for (const auto& q : v)
        if (q.get() == p)
            return true;
    return false;
}

// --- menus -------------------------------------------------------------------
ErrorCode AddMenuGroup(PluginRef plugin, const char* name, const char* nearGroup,
                       MenuGroupHandle* group) {
    if (R() == nullptr || plugin == nullptr || Empty(name) || nearGroup == nullptr ||
        group == nullptr)
        return kBadParameterErr;
    if (R()->findMenuGroup(name) != nullptr ||
        (!Registry::IsHostMenuGroup(nearGroup) && R()->findMenuGroup(nearGroup) == nullptr))
        return kBadParameterErr;
    auto g = std::make_unique<MenuGroupHandleOpaque>();
    g->plugin = plugin;
    g->name = name;
    g->nearGroup = nearGroup;
    *group = g.get();
    R()->menuGroups.push_back(std::move(g));
    return kNoErr;
}

ErrorCode AddMenuItem(PluginRef plugin, const char* key, const char* groupName, const char* text,
                      int32_t options, MenuItemHandle* item) {
    if (R() == nullptr || plugin == nullptr || Empty(key) || groupName == nullptr ||
        text == nullptr || item == nullptr)
        return kBadParameterErr;
    // Separators share one key; every other item's key is unique.
    bool separator = (options & kMenuItemSeparator) != 0;
    if (R()->findMenuGroup(groupName) == nullptr ||
        (!separator && R()->findMenuItem(key) != nullptr))
        return kBadParameterErr;
    auto i = std::make_unique<MenuItemHandleOpaque>();
    i->plugin = plugin;
    i->key = key;
    i->group = groupName;
    i->text = text;
    i->options = options;
    *item = i.get();
    R()->menuItems.push_back(std::move(i));
    return kNoErr;
}

ErrorCode MakeSubMenu(MenuItemHandle item, const char* groupName, MenuGroupHandle* group) {
    if (R() == nullptr || !Owns(R()->menuItems, item) || Empty(groupName) || group == nullptr ||
        item->subMenu != nullptr || R()->findMenuGroup(groupName) != nullptr)
        return kBadParameterErr;
    auto g = std::make_unique<MenuGroupHandleOpaque>();
    g->plugin = item->plugin;
    g->name = groupName;
    g->parent = item;
    item->subMenu = g.get();
    *group = g.get();
    R()->menuGroups.push_back(std::move(g));
    return kNoErr;
}

ErrorCode CheckItem(MenuItemHandle item, int32_t checked) {
    if (R() == nullptr || !Owns(R()->menuItems, item))
        return kBadParameterErr;
    item->checked = checked != 0;
    return kNoErr;
}

ErrorCode EnableItem(MenuItemHandle item, int32_t enabled) {
    if (R() == nullptr || !Owns(R()->menuItems, item))
        return kBadParameterErr;
    item->enabled = enabled != 0;
    return kNoErr;
}

ErrorCode GetItemKey(MenuItemHandle item, char* buffer, size_t size) {
    if (R() == nullptr || !Owns(R()->menuItems, item))
        return kBadParameterErr;
    return CopyOut(item->key, buffer, size);
}

const MenuSuite kMenu = {&AddMenuGroup, &AddMenuItem, &MakeSubMenu,
                         &CheckItem,    &EnableItem,  &GetItemKey};

// --- filters -----------------------------------------------------------------
ErrorCode AddFilter(PluginRef plugin, const char* category, const char* title, const char* name,
                    void* token, FilterHandle* filter) {
    if (R() == nullptr || plugin == nullptr || Empty(category) || Empty(title) || Empty(name) ||
        filter == nullptr || R()->findFilter(name) != nullptr)
        return kBadParameterErr;
    auto f = std::make_unique<FilterHandleOpaque>();
    f->plugin = plugin;
    f->category = category;
    f->title = title;
    f->name = name;
    f->token = token;
    *filter = f.get();
    R()->filters.push_back(std::move(f));
    return kNoErr;
}

ErrorCode GetFilterToken(FilterHandle filter, void** token) {
    if (R() == nullptr || !Owns(R()->filters, filter) || token == nullptr)
        return kBadParameterErr;
    *token = filter->token;
    return kNoErr;
}

const FilterSuite kFilter = {&AddFilter, &GetFilterToken};

// --- live effects ------------------------------------------------------------
ErrorCode AddLiveEffect(PluginRef plugin, const LiveEffectDefinition* d, LiveEffectHandle* effect) {
    if (R() == nullptr || plugin == nullptr || d == nullptr || Empty(d->name) ||
        d->title == nullptr || effect == nullptr || R()->findLiveEffect(d->name) != nullptr)
        return kBadParameterErr;
    auto e = std::make_unique<LiveEffectHandleOpaque>();
    e->plugin = plugin;
    e->name = d->name;
    e->title = d->title;
    e->majorVersion = d->majorVersion;
    e->minorVersion = d->minorVersion;
    e->inputKinds = d->inputKinds;
    e->styleFlags = d->styleFlags;
    *effect = e.get();
    R()->liveEffects.push_back(std::move(e));
    return kNoErr;
}

ErrorCode AddLiveEffectMenuItem(LiveEffectHandle effect, const char* category,
                                const char* menuTitle, int32_t) {
    if (R() == nullptr || !Owns(R()->liveEffects, effect) || Empty(category) || Empty(menuTitle))
        return kBadParameterErr;
    effect->menuCategory = category;
    effect->menuTitle = menuTitle;
    return kNoErr;
}

ErrorCode GetLiveEffectName(LiveEffectHandle effect, char* buffer, size_t size) {
    if (R() == nullptr || !Owns(R()->liveEffects, effect))
        return kBadParameterErr;
    return CopyOut(effect->name, buffer, size);
}

const LiveEffectSuite kLiveEffect = {&AddLiveEffect, &AddLiveEffectMenuItem, &GetLiveEffectName};

// --- tools -------------------------------------------------------------------
ErrorCode AddTool(PluginRef plugin, const ToolDefinition* d, ToolHandle* tool) {
    if (R() == nullptr || plugin == nullptr || d == nullptr || Empty(d->title) || tool == nullptr ||
        R()->findTool(d->title) != nullptr)
        return kBadParameterErr;
    int32_t group = d->group, set = d->set;
    int32_t groups = 0;
    for (const auto& t : R()->tools)
        groups = std::max(groups, t->group);
    if (group == kToolNewGroup) {
        group = groups + 1;
        set = 1;
    } else {
        if (group < 1 || group > groups)
            return kBadParameterErr;
        int32_t sets = 0;
        for (const auto& t : R()->tools)
            if (t->group == group)
                sets = std::max(sets, t->set);
        if (set == kToolNewSet)
            set = sets + 1;
        else if (set < 1 || set > sets)
            return kBadParameterErr;
    }
    auto t = std::make_unique<ToolHandleOpaque>();
    t->plugin = plugin;
    t->title = d->title;
    t->tooltip = d->tooltip != nullptr ? d->tooltip : d->title;
    t->darkIconId = d->darkIconId;
    t->lightIconId = d->lightIconId;
    t->group = group;
    t->set = set;
    t->options = d->options;
    *tool = t.get();
    R()->tools.push_back(std::move(t));
    return kNoErr;
}

ErrorCode GetToolPlace(const char* title, int32_t* group, int32_t* set) {
    if (R() == nullptr || title == nullptr || group == nullptr || set == nullptr)
        return kBadParameterErr;
    ToolHandleOpaque* t = R()->findTool(title);
    if (t == nullptr)
        return kNotFoundErr;
    *group = t->group;
    *set = t->set;
    return kNoErr;
}

ErrorCode GetCurrentTool(ToolHandle* tool) {
    if (R() == nullptr || tool == nullptr)
        return kBadParameterErr;
    *tool = R()->currentTool;
    return kNoErr;
}

ErrorCode SetToolCursor(ToolHandle tool, int32_t cursorId) {
    if (R() == nullptr || !Owns(R()->tools, tool))
        return kBadParameterErr;
    tool->cursorId = cursorId;
    // The cursor is drawn from the plug-in's resources by name.
    const auto image = platform::LoadCursor(platform::CursorResourceName(cursorId, 1));
    tool->cursorImage = image ? image->path : std::string();
    return kNoErr;
}

// --- hit test ------------------------------------------------------------------
VtgPoint CubicAt(const VtgPoint p[4], double t) {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x,
            a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y};
}

double Distance(VtgPoint a, VtgPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The parameter of the point of the cubic nearest `q`: a coarse scan, then
// a narrowing search around the best sample.
double NearestParameter(const VtgPoint p[4], VtgPoint q) {
    constexpr int kSamples = 64;
    double best = 0, bestDistance = Distance(p[0], q);
    for (int i = 1; i <= kSamples; ++i) {
        const double t = static_cast<double>(i) / kSamples;
        const double dist = Distance(CubicAt(p, t), q);
        if (dist < bestDistance) {
            bestDistance = dist;
            best = t;
        }
    }
    double step = 1.0 / kSamples;
    for (int round = 0; round < 40; ++round) {
        step /= 2;
        for (double t : {best - step, best + step}) {
            if (t < 0 || t > 1)
                continue;
            const double dist = Distance(CubicAt(p, t), q);
            if (dist < bestDistance) {
                bestDistance = dist;
                best = t;
            }
        }
    }
    return best;
}

// The hit of one path within `reach`, or false.
bool HitPath(const doc::ArtNode* art, VtgPoint q, double reach, VtgHitRecord& hit) {
    const std::vector<PathSegment>& s = art->s.segments;
    const int n = static_cast<int>(s.size());
    for (int i = 0; i < n; ++i)
        if (Distance(s[static_cast<std::size_t>(i)].anchor, q) <= reach) {
            hit.part = kVtgHitAnchor;
            hit.segment = i;
            hit.t = 0;
            hit.point = s[static_cast<std::size_t>(i)].anchor;
            return true;
        }
    const int pieces = art->s.closed ? n : n - 1;
    double bestDistance = reach;
    bool found = false;
    for (int i = 0; i < pieces && n >= 2; ++i) {
        const PathSegment& a = s[static_cast<std::size_t>(i)];
        const PathSegment& b = s[static_cast<std::size_t>((i + 1) % n)];
        const VtgPoint p[4] = {a.anchor, a.out, b.in, b.anchor};
        const double t = NearestParameter(p, q);
        const VtgPoint on = CubicAt(p, t);
        const double dist = Distance(on, q);
        if (dist <= bestDistance) {
            bestDistance = dist;
            found = true;
            hit.part = kVtgHitSegment;
            hit.segment = i;
            hit.t = t;
            hit.point = on;
        }
    }
    return found;
}

ErrorCode HitTest(const VtgPoint* point, VtgHitRecord* hit) {
    Host* host = Host::current();
    if (host == nullptr || point == nullptr || hit == nullptr)
        return kBadParameterErr;
    *hit = VtgHitRecord{};
    doc::Document* d = host->docs().current();
    if (d == nullptr)
        return kNoDocumentErr;
    const double zoom = d->view != nullptr && d->view->zoom > 0 ? d->view->zoom : 1.0;
    const double reach = 3.0 / zoom;
    for (doc::LayerNode* layer : d->layers) {
        if (!layer->visible || layer->locked)
            continue;
        bool done = false;
        doc::Walk(layer->group, true, [&](doc::ArtNode* a) {
            if (done || (a->s.attributes & (kVtgArtHidden | kVtgArtLocked)) != 0)
                return false;
            if (a->s.kind == kVtgArtPath && HitPath(a, *point, reach, *hit)) {
                hit->art = doc::DocStore::handle(a);
                done = true;
            }
            return !done;
        });
        if (done)
            return kNoErr;
    }
    *hit = VtgHitRecord{};
    return kNoErr;
}

const ToolSuite kTool = {&AddTool, &GetToolPlace, &GetCurrentTool, &SetToolCursor, &HitTest};

// --- annotators --------------------------------------------------------------
ErrorCode AddAnnotator(PluginRef plugin, const char* name, AnnotatorHandle* annotator) {
    if (R() == nullptr || plugin == nullptr || Empty(name) || annotator == nullptr)
        return kBadParameterErr;
    auto a = std::make_unique<AnnotatorHandleOpaque>();
    a->plugin = plugin;
    a->name = name;
    a->active = true; // a new annotator is active until its plug-in says otherwise
    *annotator = a.get();
    R()->annotators.push_back(std::move(a));
    return kNoErr;
}

ErrorCode SetAnnotatorActive(AnnotatorHandle annotator, int32_t active) {
    if (R() == nullptr || !Owns(R()->annotators, annotator))
        return kBadParameterErr;
    annotator->active = active != 0;
    return kNoErr;
}

ErrorCode IsAnnotatorActive(AnnotatorHandle annotator, int32_t* active) {
    if (R() == nullptr || !Owns(R()->annotators, annotator) || active == nullptr)
        return kBadParameterErr;
    *active = annotator->active ? 1 : 0;
    return kNoErr;
}

ErrorCode InvalidateRect(const VtgViewRect* rect) {
    if (R() == nullptr || rect == nullptr)
        return kBadParameterErr;
    R()->invalidated.push_back(*rect);
    return kNoErr;
}

// The drawing port records each call; a text is 7 pixels a character wide
// (14 for characters outside ASCII) and 14 pixels high.
ErrorCode MeasureText(DrawerHandle drawer, const char* text, const VtgViewPoint* at,
                      VtgViewRect* rect) {
    if (drawer == nullptr || text == nullptr || at == nullptr || rect == nullptr)
        return kBadParameterErr;
    int32_t width = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte < 0x80)
            width += 7;
        else if ((byte & 0xC0) != 0x80)
            width += 14;
    }
    *rect = {at->h, at->v - 11, at->h + width, at->v + 3};
    return kNoErr;
}

ErrorCode SetDrawColor(DrawerHandle drawer, uint16_t red, uint16_t green, uint16_t blue) {
    if (drawer == nullptr)
        return kBadParameterErr;
    drawer->color[0] = red;
    drawer->color[1] = green;
    drawer->color[2] = blue;
    return kNoErr;
}

Host::AnnotationOp Op(DrawerHandle drawer, Host::AnnotationOp::Kind kind) {
    Host::AnnotationOp op;
    op.kind = kind;
    op.frame = drawer->frame;
    std::copy(drawer->color, drawer->color + 3, op.color);
    return op;
}

ErrorCode FillRect(DrawerHandle drawer, const VtgViewRect* rect) {
    if (Host::current() == nullptr || drawer == nullptr || rect == nullptr)
        return kBadParameterErr;
    Host::AnnotationOp op = Op(drawer, Host::AnnotationOp::Fill);
    op.rect = *rect;
    Host::current()->annotations().push_back(op);
    return kNoErr;
}

ErrorCode DrawText(DrawerHandle drawer, const char* text, const VtgViewPoint* at) {
    if (Host::current() == nullptr || drawer == nullptr || text == nullptr || at == nullptr)
        return kBadParameterErr;
    Host::AnnotationOp op = Op(drawer, Host::AnnotationOp::Text);
    op.at = *at;
    op.text = text;
    Host::current()->annotations().push_back(op);
    return kNoErr;
}

ErrorCode SetLineWidth(DrawerHandle drawer, double width) {
    if (drawer == nullptr)
        return kBadParameterErr;
    drawer->lineWidth = width;
    return kNoErr;
}

ErrorCode DrawBezierPath(DrawerHandle drawer, const VtgViewPoint* points, int32_t count) {
    if (Host::current() == nullptr || drawer == nullptr || points == nullptr || count < 1 ||
        (count - 1) % 3 != 0)
        return kBadParameterErr;
    Host::AnnotationOp op = Op(drawer, Host::AnnotationOp::Path);
    op.points.assign(points, points + count);
    op.lineWidth = drawer->lineWidth;
    Host::current()->annotations().push_back(op);
    return kNoErr;
}

const AnnotatorSuite kAnnotator = {
    &AddAnnotator, &SetAnnotatorActive, &IsAnnotatorActive, &InvalidateRect, &MeasureText,
    &SetDrawColor, &FillRect,           &DrawText,          &SetLineWidth,   &DrawBezierPath};

// --- host commands -------------------------------------------------------------
ErrorCode InvokeCommand(const char* name) {
    Host* host = Host::current();
    if (host == nullptr || name == nullptr)
        return kBadParameterErr;
    return host->invokeCommand(name);
}

const CommandSuite kCommand = {&InvokeCommand};

} // namespace

void PublishRegistrationSuites(SuiteBroker& broker) {
    broker.publish(kMenuSuiteName, kMenuSuiteVersion, &kMenu);
    broker.publish(kFilterSuiteName, kFilterSuiteVersion, &kFilter);
    broker.publish(kLiveEffectSuiteName, kLiveEffectSuiteVersion, &kLiveEffect);
    broker.publish(kToolSuiteName, kToolSuiteVersion, &kTool);
    broker.publish(kAnnotatorSuiteName, kAnnotatorSuiteVersion, &kAnnotator);
    broker.publish(kCommandSuiteName, kCommandSuiteVersion, &kCommand);
}

} // namespace hostapp
