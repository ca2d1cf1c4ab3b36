#include "host/host.hpp"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/api/vtg_command_suite.h"
#include "host/effects/live_effects.hpp"
#include "host/live_updates.hpp"
#include "platform/input.hpp"
#include "platform/system.hpp"

namespace hostapp {

Host* Host::current_ = nullptr;

namespace {

ErrorCode BasicAcquire(const char* name, int32_t version, const void** suite) {
    Host* host = Host::current();
    if (host == nullptr)
        return kSuiteNotFoundErr;
    return host->broker().acquire(name, version, suite);
}

ErrorCode BasicRelease(const char* name, int32_t version) {
    Host* host = Host::current();
    if (host == nullptr)
        return kNotAcquiredErr;
    return host->broker().release(name, version);
}

} // namespace

Host::Host() {
    current_ = this;
    basic_.AcquireSuite = &BasicAcquire;
    basic_.ReleaseSuite = &BasicRelease;
    PublishCoreSuites(broker_);
    platform::SetDebugSink([this](const char* text) {
        std::string line(text);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        log(line);
    });
    defineCommand(kCommandExpandStyle, [this] { return effects::ExpandStyle(*this); });
    // What a gesture in the plug-in's panels or dialogs changed is generated
    // again when the gesture is done.
    idleHandler_ = platform::AddIdleHandler([this] {
        if (sendDepth_ == 0)
            regenerateChanged();
    });
}

Host::~Host() {
    if (started_)
        shutdown();
    platform::SetDebugSink({});
    platform::RemoveIdleHandler(idleHandler_);
    if (library_ != nullptr)
        dlclose(library_);
    if (current_ == this)
        current_ = nullptr;
}

Host* Host::current() {
    return current_;
}

std::string Host::load(const std::string& libraryPath) {
    void* lib = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (lib == nullptr) {
        const char* why = dlerror();
        return std::string("cannot load plug-in ") + libraryPath + ": " + (why ? why : "unknown");
    }
    auto entry = reinterpret_cast<PluginMainProc>(dlsym(lib, "PluginMain"));
    if (entry == nullptr) {
        dlclose(lib);
        return "plug-in " + libraryPath + " does not export PluginMain";
    }
    library_ = lib;
    attach(entry, libraryPath);
    return {};
}

void Host::attach(PluginMainProc entry, const std::string& path) {
    entry_ = entry;
    plugin_.path = path;
}

void Host::log(const std::string& line) {
    log_.push_back(line);
    if (verbose_)
        std::fprintf(stderr, "log: %s\n", line.c_str());
}

ErrorCode Host::send(const char* caller, const char* selector, void* message) {
    if (entry_ == nullptr)
        return kBadParameterErr;
    auto* header = static_cast<MessageHeader*>(message);
    header->plugin = &plugin_;
    header->globals = globals_;
    header->basic = &basic_;
    ++sendDepth_;
    ErrorCode result = entry_(caller, selector, message);
    --sendDepth_;
    globals_ = header->globals;
    // When the plug-in's outermost message changed the source or the data
    // of plug-in art, the art is generated again.
    if (sendDepth_ == 0 && std::strcmp(caller, kCallerPluginGroup) != 0)
        regenerateChanged();
    return result;
}

void Host::regenerateChanged() {
    if (!started_ || docs_.current() == nullptr)
        return;
    ErrorCode err = UpdateChangedPluginArt(*this, *docs_.current());
    if (err != kNoErr)
        log("regenerating plug-in art failed: " + std::to_string(err));
}

void Host::callPlugin(const std::function<void()>& call) {
    ++sendDepth_;
    call();
    --sendDepth_;
    if (sendDepth_ == 0)
        regenerateChanged();
}

ErrorCode Host::sendBare(const char* caller, const char* selector) {
    AnyMessage message;
    std::memset(&message, 0, sizeof message);
    return send(caller, selector, &message);
}

ErrorCode Host::startup() {
    ErrorCode result = sendBare(kCallerBaseInterface, kSelectorStartup);
    if (result != kNoErr) {
        log("plug-in start-up failed; the plug-in is not used");
        return result;
    }
    started_ = true;
    return notify(kNotifyAppStarted, nullptr);
}

ErrorCode Host::shutdown() {
    if (!started_)
        return kNoErr;
    notify(kNotifyAppShutdown, nullptr);
    ErrorCode result = sendBare(kCallerBaseInterface, kSelectorShutdown);
    started_ = false;
    notifiers_.clear();
    return result;
}

ErrorCode Host::unload() {
    return sendBare(kCallerBaseAccess, kSelectorUnload);
}

ErrorCode Host::reload() {
    // A reloaded plug-in registers its notifiers again.
    notifiers_.clear();
    return sendBare(kCallerBaseAccess, kSelectorReload);
}

ErrorCode Host::invokeCommand(const std::string& name) {
    auto it = commands_.find(name);
    if (it == commands_.end())
        return kNotFoundErr;
    invokedCommands_.push_back(name);
    return it->second ? it->second() : kNoErr;
}

ErrorCode Host::notify(const char* type, const void* data) {
    // Copy the handles first: a handler may register more notifiers.
    std::vector<NotifierHandleOpaque*> targets;
    for (const auto& n : notifiers_)
        if (n->active && n->type == type)
            targets.push_back(n.get());
    ErrorCode first = kNoErr;
    for (NotifierHandleOpaque* n : targets) {
        NotifierMessage message{};
        message.notifier = reinterpret_cast<NotifierHandle>(n);
        message.type = type;
        message.data = data;
        ErrorCode result = send(kCallerNotifier, kSelectorNotify, &message);
        if (first == kNoErr)
            first = result;
    }
    // An opened document shows its live objects generated afresh.
    if (started_ && std::strcmp(type, kNotifyDocumentOpened) == 0 && docs_.current() != nullptr) {
        ErrorCode err = UpdateAllPluginArt(*this, *docs_.current());
        if (err != kNoErr)
            log("regenerating plug-in art failed: " + std::to_string(err));
    }
    return first;
}

NotifierHandleOpaque* Host::addNotifier(PluginRefOpaque* plugin, const char* name,
                                        const char* type) {
    auto n = std::make_unique<NotifierHandleOpaque>();
    n->plugin = plugin;
    n->name = name;
    n->type = type;
    notifiers_.push_back(std::move(n));
    return notifiers_.back().get();
}

AccessRefOpaque* Host::acquireResidency(PluginRefOpaque* plugin) {
    auto a = std::make_unique<AccessRefOpaque>();
    a->plugin = plugin;
    residencies_.push_back(std::move(a));
    return residencies_.back().get();
}

bool Host::releaseResidency(AccessRefOpaque* access) {
    auto it = std::find_if(residencies_.begin(), residencies_.end(),
                           [access](const auto& a) { return a.get() == access; });
    if (it == residencies_.end())
        return false;
    residencies_.erase(it);
    return true;
}

ContextHandleOpaque* Host::pushContext() {
    auto c = std::make_unique<ContextHandleOpaque>();
    c->depth = static_cast<int>(contexts_.size()) + 1;
    contexts_.push_back(std::move(c));
    return contexts_.back().get();
}

bool Host::popContext(ContextHandleOpaque* context) {
    if (contexts_.empty() || contexts_.back().get() != context) {
        ++unbalancedPops_;
        log("unbalanced application context pop");
        return false;
    }
    contexts_.pop_back();
    return true;
}

} // namespace hostapp
