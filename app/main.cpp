// vertigon - the headless host application with the plug-in loaded.
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "app/effects_app.hpp"
#include "app/gallery.hpp"
#include "app/live_app.hpp"
#include "app/script.hpp"
#include "app/tools_app.hpp"
#include "host/code_text.hpp"
#include "host/effects/live_effects.hpp"
#include "host/host.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "platform/file_write.hpp"
#include "platform/system.hpp"

namespace {

constexpr const char* kUsage = R"(usage: vertigon [--verbose] [--plugin PATH] COMMAND ...

Commands:
  run SCRIPT                run a script of user actions
  convert IN.svg -o OUT.svg open and save a document
  update IN.svg -o OUT.svg  regenerate every live object and live effect
  apply FEATURE IN.svg -o OUT.svg [--select ID]... [--set FIELD=VALUE]...
  drag TOOL IN.svg -o OUT.svg --path X,Y X,Y... [--hold alt,shift,ctrl] [--select ID]... [--set FIELD=VALUE]...
  features [FEATURE]        the features, their fields, panel ranges and defaults
  demo [--out DIR]          the gallery of every feature on built-in sample art

Options:
  --verbose                 print the host's log (the plug-in's debug output) to standard error
  --plugin PATH             load this plug-in library instead of the one beside the program
  --help, --version
)";

std::string ProgramFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::string DefaultPluginPath() {
    if (auto env = platform::GetEnvironment("VERTIGON_PLUGIN"); env && !env->empty())
        return *env;
    return ProgramFolder() + "/vertigon_plugin.so";
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "vertigon: %s\n", reason.c_str());
    return 1;
}

// Failure injection for tests.
// VTG_FAIL_ALLOC: a number n makes the n-th allocation or resize of a host
// memory block of this run fail with -108 (0: none fails), a name makes
// every allocation of blocks of that name fail.
// VTG_FAIL_WRITE: "k" or "k:EIO" makes the k-th step (write, sync or
// rename) of the run's file writes fail, with ENOSPC or the errno named
// (ENOSPC, EIO, EROFS, EACCES); 0 fails none.
// While one is set the program ends by printing what it counted and which
// of them were made to fail.
class FaultInjection {
public:
    explicit FaultInjection(hostapp::Host& host) : host_(host) {
        if (auto value = platform::GetEnvironment("VTG_FAIL_ALLOC"); value && !value->empty()) {
            allocActive_ = true;
            char* end = nullptr;
            const long n = std::strtol(value->c_str(), &end, 10);
            if (*end == '\0' && n >= 0 && n <= INT32_MAX)
                host.memory().failNth(static_cast<int>(n));
            else
                host.memory().failName(*value);
        }
        if (auto value = platform::GetEnvironment("VTG_FAIL_WRITE"); value && !value->empty()) {
            writeActive_ = true;
            failStep_ = std::strtol(value->c_str(), nullptr, 10);
            const std::size_t colon = value->find(':');
            const std::string name =
                colon == std::string::npos ? "ENOSPC" : value->substr(colon + 1);
            errno_ = name == "EIO"      ? EIO
                     : name == "EROFS"  ? EROFS
                     : name == "EACCES" ? EACCES
                                        : ENOSPC;
            platform::SetFileWriteFault([this](const char* step) {
                if (++steps_ != failStep_)
                    return 0;
                failed_ = " #" + std::to_string(steps_) + " (" + step + ")";
                return errno_;
            });
        }
    }
    ~FaultInjection() {
        if (allocActive_) {
            std::string failed;
            for (const auto& [n, name] : host_.memory().injectedFaults())
                failed += " #" + std::to_string(n) + " (" + name + ")";
            std::fprintf(stderr, "vertigon: memory: %ld allocations, failed:%s\n",
                         host_.memory().requests(), failed.empty() ? " none" : failed.c_str());
        }
        if (writeActive_) {
            platform::SetFileWriteFault({});
            std::fprintf(stderr, "vertigon: writes: %ld steps, failed:%s\n", steps_,
                         failed_.empty() ? " none" : failed_.c_str());
        }
    }
    FaultInjection(const FaultInjection&) = delete;
    FaultInjection& operator=(const FaultInjection&) = delete;

private:
    hostapp::Host& host_;
    bool allocActive_ = false;
    bool writeActive_ = false;
    long failStep_ = 0;
    long steps_ = 0;
    int errno_ = ENOSPC;
    std::string failed_;
};

// Loads and starts the plug-in; an empty text on success, else the reason.
std::string StartPlugin(hostapp::Host& host, const std::string& pluginPath) {
    std::string error = host.load(pluginPath);
    if (!error.empty())
        return error;
    const long refusals = host.memory().refusals();
    ErrorCode err = host.startup();
    if (!host.started()) {
        // The plug-in answers any failure of its start-up with one code; the
        // host knows when it ran out of memory on the way.
        std::string reason = "the plug-in failed to start: " + hostapp::DescribeCode(err);
        if (host.memory().refusals() != refusals)
            reason += " after the host could not give it memory: " +
                      hostapp::DescribeCode(kOutOfMemoryErr);
        return reason;
    }
    return {};
}

int RunScript(const std::string& pluginPath, bool verbose, const std::string& scriptPath) {
    std::ifstream in(scriptPath);
    if (!in)
        return Fail("cannot read script " + scriptPath);
    hostapp::Host host;
    FaultInjection faults(host);
    host.setVerbose(verbose);
    if (auto error = StartPlugin(host, pluginPath); !error.empty())
        return Fail(error);
    app::ScriptRunner runner(host);
    bool ok = runner.run(in);
    host.shutdown();
    if (!ok) {
        std::fprintf(stderr, "%s\n", runner.error().c_str());
        return 1;
    }
    return 0;
}

// "features": the listing the build writes beside the program from the
// plug-in's parameter tables; one section per feature, each starting with
// the feature's name at the start of a line.
int ListFeatures(const std::string& feature) {
    std::ifstream in(ProgramFolder() + "/vertigon_features.txt", std::ios::binary);
    if (!in)
        return Fail("the feature listing vertigon_features.txt is missing beside the program");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (feature.empty()) {
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    std::size_t start = text.rfind(feature + "  ", 0) == 0 ? 0 : text.find("\n" + feature + "  ");
    if (start == std::string::npos)
        return Fail("unknown feature \"" + feature + "\" (see vertigon features)");
    if (start != 0)
        ++start;
    std::size_t end = text.find("\n\n", start);
    std::string section =
        text.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
    std::fputs(section.c_str(), stdout);
    return 0;
}

// Opens a document and saves it again; needs no plug-in.
// Opens and saves a document. With the plug-in loaded the file's live
// effects are shown made again from their sources, as on opening it in the
// host; without it the document is copied as the host models it.
int Convert(const std::string& pluginPath, bool verbose, const std::string& in,
            const std::string& out) {
    hostapp::Host host;
    FaultInjection faults(host);
    host.setVerbose(verbose);
    std::string noPlugin = StartPlugin(host, pluginPath);
    if (!noPlugin.empty() && verbose)
        std::fprintf(stderr, "vertigon: %s; live effects are not made again\n", noPlugin.c_str());
    hostapp::doc::Document* d = nullptr;
    hostapp::svg::SvgError error;
    if (!hostapp::svg::ReadSvgFile(host.docs(), in, d, error))
        return Fail(error.message);
    if (host.started()) {
        std::vector<std::string> failed;
        if (ErrorCode err = host.notify("Host Document Opened Notifier", nullptr))
            failed.push_back("the plug-in failed on opening the document: " +
                             hostapp::DescribeCode(err));
        for (std::string& line : hostapp::effects::RenderDocumentFailures(host, *d))
            failed.push_back(std::move(line));
        for (std::string& line : hostapp::FailedRegenerations(host, *d))
            failed.push_back(std::move(line));
        if (!failed.empty())
            return Fail("convert: " + failed.front());
    }
    if (!hostapp::svg::WriteSvgFile(*d, out, error))
        return Fail(error.message);
    return 0;
}

int Run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Help pages open in the user's browser, except in CI or when asked not to
    // (then the request is only recorded).
    platform::EnableShellLaunch(!platform::GetEnvironment("CI") &&
                                !platform::GetEnvironment("VTG_NO_LAUNCH"));
    bool verbose = false;
    std::string pluginPath = DefaultPluginPath();

    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--verbose")
            verbose = true;
        else if (args[i] == "--plugin" && i + 1 < args.size())
            pluginPath = args[++i];
        else if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (args[i] == "--version") {
            std::printf("vertigon %s\n", VTG_VERSION);
            return 0;
        } else
            break;
    }
    if (i >= args.size()) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    const std::string& command = args[i];
    std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());

    if (command == "run") {
        if (rest.size() != 1)
            return Fail("usage: vertigon run SCRIPT");
        return RunScript(pluginPath, verbose, rest[0]);
    }
    if (command == "features") {
        if (rest.size() > 1)
            return Fail("usage: vertigon features [FEATURE]");
        return ListFeatures(rest.empty() ? std::string() : rest[0]);
    }
    if (command == "convert") {
        if (rest.size() != 3 || rest[1] != "-o")
            return Fail("usage: vertigon convert IN.svg -o OUT.svg");
        return Convert(pluginPath, verbose, rest[0], rest[2]);
    }
    if (command == "apply" || command == "update" || command == "demo") {
        std::string out = "out/gallery";
        if (command == "demo") {
            if (!(rest.empty() || (rest.size() == 2 && rest[0] == "--out")))
                return Fail("usage: vertigon demo [--out DIR]");
            if (!rest.empty())
                out = rest[1];
        }
        hostapp::Host host;
        FaultInjection faults(host);
        host.setVerbose(verbose);
        if (auto error = StartPlugin(host, pluginPath); !error.empty())
            return Fail(error);
        int status = 0;
        if (command == "apply" && !rest.empty() && app::IsLiveFeature(rest[0])) {
            status = app::LiveApplyCommand(host, rest);
        } else if (command == "apply") {
            status = app::ApplyCommand(host, rest);
        } else if (command == "update") {
            status = app::UpdateCommand(host, rest);
        } else {
            std::vector<std::string> made;
            std::string error = app::WriteGallery(host, out, made);
            if (!error.empty())
                status = Fail("demo: " + error);
            else
                std::printf("wrote %s/index.html with %zu pictures\n", out.c_str(), made.size());
        }
        host.shutdown();
        return status;
    }
    if (command == "drag") {
        hostapp::Host host;
        FaultInjection faults(host);
        host.setVerbose(verbose);
        if (auto error = StartPlugin(host, pluginPath); !error.empty())
            return Fail(error);
        const int status = app::DragCommand(host, rest);
        host.shutdown();
        return status;
    }
    return Fail("unknown command \"" + command + "\" (see vertigon --help)");
}

} // namespace

// An exception that escapes the host (the plug-in turns its own into error
// codes) ends the run with one line and exit 1, never an abort; nothing has
// been written, since every write replaces its file only when complete.
int main(int argc, char** argv) {
    try {
        const int status = Run(argc, argv);
        // Files the plug-in or the host failed to write on the way (a
        // preset file, the preferences) did not stop the command's own work.
        for (const std::string& failure : platform::TakeUnreportedWriteFailures())
            std::fprintf(stderr, "vertigon: warning: %s\n", failure.c_str());
        return status;
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    } catch (const std::exception& e) {
        return Fail(std::string("internal error: ") + e.what());
    } catch (...) {
        return Fail("internal error");
    }
}
