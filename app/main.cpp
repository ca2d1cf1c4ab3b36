// vertigon - the headless host application with the plug-in loaded.
#include <unistd.h>

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "app/effects_app.hpp"
#include "app/gallery.hpp"
#include "app/live_app.hpp"
#include "app/script.hpp"
#include "app/settings.hpp"
#include "app/tools_app.hpp"
#include "host/code_text.hpp"
#include "host/effects/live_effects.hpp"
#include "host/host.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "platform/file_write.hpp"
#include "platform/system.hpp"

namespace {

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
    const bool standardInput = scriptPath == "-";
    std::ifstream file;
    if (!standardInput) {
        std::error_code ec;
        if (std::filesystem::is_directory(scriptPath, ec))
            return Fail(scriptPath + ": cannot read the script: " + std::strerror(EISDIR));
        file.open(scriptPath);
        if (!file)
            return Fail(scriptPath + ": cannot read the script: " + std::strerror(errno));
    }
    std::istream& in = standardInput ? std::cin : file;
    hostapp::Host host;
    FaultInjection faults(host);
    host.setVerbose(verbose);
    if (auto error = StartPlugin(host, pluginPath); !error.empty())
        return Fail(error);
    app::ScriptRunner runner(host, standardInput ? "stdin" : scriptPath);
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

// The options of the one-shot commands, gathered by the parser and handed
// to the commands as the words they take: IN -o OUT, then the options.
struct CommandLine {
    std::string feature, in, out = "", script, listed, demoOut = "out/gallery", preset;
    std::vector<std::string> ids, settings, path;
    std::string hold;
    bool keepGoing = false;

    std::vector<std::string> words(const std::string& first) const {
        std::vector<std::string> w;
        if (!first.empty())
            w.push_back(first);
        w.insert(w.end(), {in, "-o", out});
        for (const std::string& id : ids)
            w.insert(w.end(), {"--select", id});
        for (const std::string& s : settings)
            w.insert(w.end(), {"--set", s});
        if (!path.empty()) {
            w.push_back("--path");
            w.insert(w.end(), path.begin(), path.end());
        }
        if (!hold.empty())
            w.insert(w.end(), {"--hold", hold});
        if (keepGoing)
            w.push_back("--keep-going");
        return w;
    }
};

// Runs a one-shot command on a private profile (see app/settings.hpp) with
// the plug-in started.
template <typename Work>
int WithPlugin(const std::string& pluginPath, bool verbose, const std::string& feature,
               const std::string& preset, Work work) {
    app::PrivateProfile profile;
    std::string presetFile;
    if (!preset.empty()) {
        presetFile = app::FeaturePresetFile(ProgramFolder() + "/vertigon_features.txt", feature);
        if (presetFile.empty())
            return Fail("--preset: \"" + feature + "\" has no preset file (see vertigon features)");
    }
    if (std::string why = profile.open(feature, presetFile, preset); !why.empty())
        return Fail(why);
    hostapp::Host host;
    FaultInjection faults(host);
    host.setVerbose(verbose);
    if (auto error = StartPlugin(host, pluginPath); !error.empty())
        return Fail(error);
    const int status = work(host);
    host.shutdown();
    return status;
}

// A feature the listing names that no command of this build applies yet.
bool ListedFeature(const std::string& feature) {
    std::ifstream in(ProgramFolder() + "/vertigon_features.txt", std::ios::binary);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(feature + "  ", 0) == 0)
            return true;
    return false;
}

int Run(int argc, char** argv) {
    // Help pages open in the user's browser, except in CI or when asked not to
    // (then the request is only recorded).
    platform::EnableShellLaunch(!platform::GetEnvironment("CI") &&
                                !platform::GetEnvironment("VTG_NO_LAUNCH"));
    bool verbose = false;
    std::string pluginPath = DefaultPluginPath();
    CommandLine c;

    CLI::App cli{"VERTiGON: decorative and deforming geometry for vector drawings, "
                 "applied to SVG files.\nA file name \"-\" reads standard input or writes "
                 "standard output.",
                 "vertigon"};
    cli.set_version_flag("--version", std::string("vertigon ") + VTG_VERSION);
    cli.add_flag("--verbose", verbose,
                 "print the host's log (the plug-in's debug output) to standard error");
    cli.add_option("--plugin", pluginPath,
                   "load this plug-in library instead of the one beside the program");
    cli.require_subcommand(1);
    cli.footer("Run `vertigon help COMMAND` or `vertigon COMMAND --help` for a command's "
               "options.\nSettings: apply, drag, update, convert and demo start every "
               "feature from its defaults and never change your saved settings; run "
               "(a script acting as the user) reads and changes them.");

    auto* run = cli.add_subcommand("run", "run a script of user actions");
    run->add_option("SCRIPT", c.script, "the script (\"-\": standard input)")->required();

    auto io = [&](CLI::App* sub) {
        sub->add_option("IN", c.in, "the document to open (\"-\": standard input)")->required();
        sub->add_option("-o,--output", c.out, "the document to write (\"-\": standard output)")
            ->required();
    };
    auto* convert = cli.add_subcommand("convert", "open and save a document");
    io(convert);
    auto* update =
        cli.add_subcommand("update", "regenerate every live object and live effect of a document");
    io(update);
    update->add_flag("--keep-going", c.keepGoing,
                     "save what could be regenerated when some objects fail");

    auto options = [&](CLI::App* sub) {
        sub->add_option("--select", c.ids, "apply to the art with this id (default: all)")
            ->take_all()
            ->expected(1);
        sub->add_option("--set", c.settings,
                        "set a field as the feature's panel shows it (see vertigon features)")
            ->take_all()
            ->expected(1);
        sub->add_option("--preset", c.preset,
                        "start from this preset of your saved settings (\"Last Setting\" "
                        "included) instead of the defaults");
    };
    auto* apply = cli.add_subcommand("apply", "apply a live object or a live effect");
    apply->add_option("FEATURE", c.feature, "the feature (see vertigon features)")->required();
    io(apply);
    options(apply);

    auto* drag = cli.add_subcommand("drag", "drag a tool over a document");
    drag->add_option("TOOL", c.feature, "the tool (warp wave lens craft roughen broom 3drotate)")
        ->required();
    io(drag);
    drag->add_option("--path", c.path, "the pointer's path in document points: X,Y X,Y ...")
        ->required()
        ->expected(1, 1 << 20);
    drag->add_option("--hold", c.hold, "modifier keys held: alt, shift, ctrl (comma-separated)");
    options(drag);

    auto* features =
        cli.add_subcommand("features", "the features, their fields, panel ranges and defaults");
    features->add_option("FEATURE", c.listed, "only this feature");

    auto* demo = cli.add_subcommand("demo", "the gallery of every feature on built-in sample art");
    demo->add_option("--out", c.demoOut, "the gallery's folder")->capture_default_str();

    std::string helpFor;
    auto* help = cli.add_subcommand("help", "a command's options");
    help->add_option("COMMAND", helpFor, "the command");

    if (argc < 2) {
        std::fputs(cli.help().c_str(), stderr);
        return 2;
    }
    // The first word that is not an option (or --plugin's value) names the
    // command.
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--plugin") {
            ++i;
            continue;
        }
        if (word.starts_with("-"))
            continue;
        bool known = false;
        for (const CLI::App* sub : cli.get_subcommands({}))
            known = known || sub->get_name() == word;
        if (!known) {
            std::fprintf(stderr, "vertigon: unknown command \"%s\" (see vertigon --help)\n",
                         word.c_str());
            return 2;
        }
        break;
    }
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return cli.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return cli.exit(e);
    } catch (const CLI::ParseError& e) {
        // Usage errors exit 2, runtime errors 1.
        std::fprintf(stderr, "vertigon: %s\n", e.what());
        std::fprintf(stderr, "Run `vertigon --help` for the commands and their options.\n");
        return 2;
    }

    if (help->parsed()) {
        if (helpFor.empty()) {
            std::fputs(cli.help().c_str(), stdout);
            return 0;
        }
        for (CLI::App* sub : cli.get_subcommands({}))
            if (sub->get_name() == helpFor) {
                std::fputs(sub->help("vertigon").c_str(), stdout);
                return 0;
            }
        std::fprintf(stderr, "vertigon: help: no command \"%s\"\n", helpFor.c_str());
        return 2;
    }
    if (run->parsed()) {
        if (std::string why = app::UseUserProfile(); !why.empty())
            return Fail(why);
        return RunScript(pluginPath, verbose, c.script);
    }
    if (features->parsed())
        return ListFeatures(c.listed);
    if (convert->parsed()) {
        app::PrivateProfile profile;
        if (std::string why = profile.open({}, {}, {}); !why.empty())
            return Fail(why);
        return Convert(pluginPath, verbose, c.in, c.out);
    }
    if (apply->parsed()) {
        const bool live = app::IsLiveFeature(c.feature);
        if (!live && app::EffectName(c.feature).empty() && app::FilterName(c.feature).empty() &&
            ListedFeature(c.feature))
            return Fail("apply: " + c.feature + " is not built yet");
        return WithPlugin(pluginPath, verbose, c.feature, c.preset, [&](hostapp::Host& host) {
            return live ? app::LiveApplyCommand(host, c.words(c.feature))
                        : app::ApplyCommand(host, c.words(c.feature));
        });
    }
    if (update->parsed())
        return WithPlugin(pluginPath, verbose, {}, {}, [&](hostapp::Host& host) {
            return app::UpdateCommand(host, c.words({}));
        });
    if (drag->parsed())
        return WithPlugin(pluginPath, verbose, c.feature, c.preset, [&](hostapp::Host& host) {
            return app::DragCommand(host, c.words(c.feature));
        });
    // demo
    return WithPlugin(pluginPath, verbose, {}, {}, [&](hostapp::Host& host) {
        std::vector<std::string> made;
        std::string error = app::WriteGallery(host, c.demoOut, made);
        if (!error.empty())
            return Fail("demo: " + error);
        std::printf("wrote %s/index.html with %zu pictures\n", c.demoOut.c_str(), made.size());
        return 0;
    });
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
