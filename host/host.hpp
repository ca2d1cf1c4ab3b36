// host.hpp - the stand-in host application.
//
// One Host object is the whole host: it loads a plug-in library, publishes
// its suites, keeps the plug-in's registrations and drives the plug-in's
// lifecycle with the messages a real host sends. The C suite functions reach
// it through Host::current(); there is no other global state.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/actions.hpp"
#include "host/api/vtg_base.h"
#include "host/api/vtg_messages.h"
#include "host/doc/document.hpp"
#include "host/memory.hpp"
#include "host/panels.hpp"
#include "host/random.hpp"
#include "host/registry.hpp"
#include "host/suite_broker.hpp"
#include "host/user_agent.hpp"

// The host's side of the opaque handles.
struct PluginRefOpaque {
    std::string path;    // the library file
    std::string name;    // as registered by the plug-in
    int32_t options = 2; // host option bits; bit value 2 is set at load
};

struct NotifierHandleOpaque {
    PluginRefOpaque* plugin = nullptr;
    std::string name;
    std::string type;
    bool active = true;
};

struct AccessRefOpaque {
    PluginRefOpaque* plugin = nullptr;
};

struct ContextHandleOpaque {
    int depth = 0;
};

// The drawing port of one "Host Draw" message: it records what is drawn.
struct DrawerHandleOpaque {
    int frame = 0; // the number of the Draw message within the gesture
    uint16_t color[3] = {0, 0, 0};
    double lineWidth = 1;
};

namespace hostapp {

class Host {
public:
    struct Version {
        int32_t major = 20, minor = 0, revision = 0; // above the 16 and 17 the plug-in tests
    };

    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The host that the suite functions serve; null when none exists.
    static Host* current();

    // --- the plug-in --------------------------------------------------------
    // Opens a plug-in library and resolves PluginMain. Returns an empty text on
    // success, else the reason.
    std::string load(const std::string& libraryPath);
    // Uses an entry linked into this program (tests); `path` stands for the
    // library file (its folder is the plug-in's folder).
    void attach(PluginMainProc entry, const std::string& path);
    bool loaded() const { return entry_ != nullptr; }
    bool started() const { return started_; }

    // Lifecycle as a host drives it. startup() sends "Base Interface"/
    // "Startup" and, when it succeeds, the application-started notification.
    ErrorCode startup();
    ErrorCode shutdown();
    ErrorCode unload();
    ErrorCode reload();

    // Sends one message. The header is filled in here; `message` must point
    // to a record that starts with a MessageHeader.
    ErrorCode send(const char* caller, const char* selector, void* message);
    // Sends a message of the header alone, zero-padded to any record's size.
    ErrorCode sendBare(const char* caller, const char* selector);
    // Sends a notification of `type` to every active notifier of that type.
    ErrorCode notify(const char* type, const void* data);

    // --- services -----------------------------------------------------------
    SuiteBroker& broker() { return broker_; }
    Registry& registry() { return registry_; }
    Panels& panels() { return panels_; }
    // Chooses item `item` of the flyout menu of the panel `identifier`.
    ErrorCode chooseFlyoutItem(const std::string& identifier, int32_t item);
    // The user drags the panel `identifier` to `width` x `height` panel
    // units, kept within its size limits; its resize callback follows.
    ErrorCode resizePanel(const std::string& identifier, double width, double height);
    Memory& memory() { return memory_; }
    // Recordable actions, value blocks and the recording (host/actions.hpp).
    Actions& actions() { return actions_; }
    // The open documents and every art record of the host's life.
    doc::DocStore& docs() { return docs_; }
    Random& random() { return random_; }
    UserAgent& user() { return user_; }
    PluginRefOpaque* plugin() { return &plugin_; }
    const Version& version() const { return version_; }
    void setVersion(Version v) { version_ = v; }

    // Registered notifiers, in registration order.
    NotifierHandleOpaque* addNotifier(PluginRefOpaque* plugin, const char* name, const char* type);
    const std::vector<std::unique_ptr<NotifierHandleOpaque>>& notifiers() const {
        return notifiers_;
    }

    // Residency.
    AccessRefOpaque* acquireResidency(PluginRefOpaque* plugin);
    bool releaseResidency(AccessRefOpaque* access);
    int residencies() const { return static_cast<int>(residencies_.size()); }

    // Application contexts.
    ContextHandleOpaque* pushContext();
    bool popContext(ContextHandleOpaque* context);
    int contextDepth() const { return static_cast<int>(contexts_.size()); }
    int unbalancedPops() const { return unbalancedPops_; }

    // --- the user's actions on menus and tools (host/user_actions.cpp) --------
    // Chooses the plug-in's menu item with `key`: "Host Menu"/"Host Update"
    // for its items, then "Host Go". kNotFoundErr for an unknown key.
    ErrorCode chooseMenu(const std::string& key);
    // Sends "Host Menu"/"Host Update" for every item of the plug-in.
    ErrorCode updateMenus();
    // Makes the tool titled `title` current: "Host Deselect" to the current
    // tool, then "Host Select" to the new one. kNotFoundErr for an unknown title.
    ErrorCode selectTool(const std::string& title);
    // Mouse press, move and release of the current tool at a document point.
    // Each event is stamped kToolEventInterval ms after the one before and
    // preceded by "Host Track Cursor". A press ends the document's pending
    // operation and a release commits the gesture as one undo step; after
    // each event every active annotator is asked to draw.
    ErrorCode toolMouse(const char* selector, VtgPoint point, uint32_t modifiers);
    static constexpr int32_t kToolEventInterval = 16;
    // The timestamp of the last tool event (ms); tests may set it.
    int32_t toolClock = 0;

    // What annotators drew since the last press (user_actions.cpp).
    struct AnnotationOp {
        enum Kind { Fill, Text, Path } kind = Fill;
        int frame = 0;
        VtgViewRect rect{0, 0, 0, 0}; // Fill
        VtgViewPoint at{0, 0};        // Text
        std::string text;
        std::vector<VtgViewPoint> points; // Path: anchor, then out, in, anchor per piece
        double lineWidth = 1;             // Path
        uint16_t color[3] = {0, 0, 0};
    };
    std::vector<AnnotationOp>& annotations() { return annotations_; }
    // Sends "Host Annotation"/"Host Draw" to every active annotator.
    void drawAnnotations();
    // Writes the annotations as an SVG picture of the view; false when the
    // file cannot be written.
    bool writeAnnotationPicture(const std::string& path) const;

    // --- recorded actions (host/actions.cpp) -----------------------------------
    // Replays every recorded event in order: "Action Manager"/"Do Action" to
    // the plug-in that registered the event's action, each in an undo step of
    // its own, with changed plug-in art regenerated. Stops at the first error
    // (an action nobody registered gives kNotFoundErr) and returns it, with a
    // sentence naming the event in `reason` when given.
    ErrorCode playActions(std::string* reason = nullptr);

    // --- host commands by name ("expandStyle", ...) --------------------------
    using Command = std::function<ErrorCode()>;
    void defineCommand(const std::string& name, Command command) {
        commands_[name] = std::move(command);
    }
    // Runs a command and records its name; kNotFoundErr for an unknown one.
    ErrorCode invokeCommand(const std::string& name);
    const std::vector<std::string>& invokedCommands() const { return invokedCommands_; }

    // --- log ----------------------------------------------------------------
    // The developer's log: the plug-in's debug output and the host's own
    // remarks. Printed to standard error as it comes when verbose.
    void log(const std::string& line);
    const std::vector<std::string>& logLines() const { return log_; }
    void setVerbose(bool verbose) { verbose_ = verbose; }

    // The globals slot kept between messages.
    void* globals() const { return globals_; }

    // Generates again the plug-in art of the current document whose source
    // or data changed; a failure goes to the log.
    void regenerateChanged();
    // Calls into the plug-in outside a message (a panel's flyout or resize
    // callback) as send does: changed plug-in art is generated again after
    // the outermost call.
    void callPlugin(const std::function<void()>& call);

    // What each plug-in art was last generated from (host/live_updates).
    std::map<const doc::ArtNode*, std::string>& liveFingerprints() { return liveFingerprints_; }
    // Plug-in art whose last regeneration failed, with the plug-in's code.
    std::map<const doc::ArtNode*, ErrorCode>& liveFailures() { return liveFailures_; }

private:
    static Host* current_;

    SuiteBroker broker_;
    Registry registry_;
    Panels panels_;
    Memory memory_;
    Actions actions_{memory_}; // after memory_: its blocks are counted there
    doc::DocStore docs_;
    Random random_;
    UserAgent user_;
    Version version_;
    BasicSuite basic_{};

    PluginRefOpaque plugin_;
    void* library_ = nullptr;
    PluginMainProc entry_ = nullptr;
    void* globals_ = nullptr;
    bool started_ = false;

    std::vector<std::unique_ptr<NotifierHandleOpaque>> notifiers_;
    std::vector<std::unique_ptr<AccessRefOpaque>> residencies_;
    std::vector<std::unique_ptr<ContextHandleOpaque>> contexts_;
    int unbalancedPops_ = 0;

    std::vector<AnnotationOp> annotations_;
    int annotationFrames_ = 0;

    std::map<std::string, Command> commands_;
    std::vector<std::string> invokedCommands_;
    std::vector<std::string> log_;
    bool verbose_ = false;
    int sendDepth_ = 0;
    int idleHandler_ = 0;
    std::map<const doc::ArtNode*, std::string> liveFingerprints_;
    std::map<const doc::ArtNode*, ErrorCode> liveFailures_;
};

// Publishes the suites of this host (one function per suite file).
void PublishCoreSuites(SuiteBroker& broker);

} // namespace hostapp
