#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "host/actions.hpp"
#include "host/api/vtg_action_suite.h"
#include "host/api/vtg_messages.h"
#include "host/doc/art.hpp"
#include "host/host.hpp"

namespace {

constexpr uint32_t Key(const char (&k)[5]) {
    return static_cast<uint32_t>(VTG_FOURCC(k[0], k[1], k[2], k[3]));
}

class ActionSuiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(host_.broker().acquire(kActionSuiteName, kActionSuiteVersion,
                                         reinterpret_cast<const void**>(&a_)),
                  kNoErr);
    }
    ValueBlockHandle NewBlock() {
        ValueBlockHandle b = nullptr;
        EXPECT_EQ(a_->NewValueBlock(&b), kNoErr);
        return b;
    }
    ActionHandle Register(const char* name, const void* userData = nullptr) {
        ActionHandle h = nullptr;
        EXPECT_EQ(a_->RegisterAction(host_.plugin(), name, "タイトル", 1, userData, nullptr, 0, &h),
                  kNoErr);
        return h;
    }
    hostapp::Host host_;
    const ActionSuite* a_ = nullptr;
};

TEST_F(ActionSuiteTest, EveryTypeReadsBackAsStored) {
    ValueBlockHandle b = NewBlock();
    ASSERT_EQ(a_->PutInteger(b, Key("cpNm"), -12), kNoErr);
    ASSERT_EQ(a_->PutBoolean(b, Key("revF"), 7), kNoErr); // any non-zero is 1
    ASSERT_EQ(a_->PutEnum(b, Key("oInd"), "中央左", 3), kNoErr);
    ASSERT_EQ(a_->PutReal(b, Key("ovlR"), "#Prc", 12.5), kNoErr);
    ASSERT_EQ(a_->PutString(b, Key("step"), "自動（中密度）"), kNoErr);

    int32_t i = 0;
    EXPECT_EQ(a_->GetInteger(b, Key("cpNm"), &i), kNoErr);
    EXPECT_EQ(i, -12);
    EXPECT_EQ(a_->GetBoolean(b, Key("revF"), &i), kNoErr);
    EXPECT_EQ(i, 1);
    char text[64] = "junk";
    EXPECT_EQ(a_->GetEnum(b, Key("oInd"), &i, text, sizeof text), kNoErr);
    EXPECT_EQ(i, 3);
    EXPECT_STREQ(text, "中央左");
    EXPECT_EQ(a_->GetEnum(b, Key("oInd"), &i, nullptr, 0), kNoErr) << "index alone";
    double r = 0;
    char unit[kVtgUnitSize] = "junk";
    EXPECT_EQ(a_->GetReal(b, Key("ovlR"), &r, unit), kNoErr);
    EXPECT_EQ(r, 12.5);
    EXPECT_STREQ(unit, "#Prc");
    EXPECT_EQ(a_->GetString(b, Key("step"), text, sizeof text), kNoErr);
    EXPECT_STREQ(text, "自動（中密度）");

    // A later put replaces the value (and its type) in its place.
    ASSERT_EQ(a_->PutString(b, Key("cpNm"), "x"), kNoErr);
    EXPECT_EQ(a_->GetInteger(b, Key("cpNm"), &i), kActionKeyMissingErr);
    hostapp::ValueBlock* values = nullptr;
    ASSERT_EQ(host_.actions().block(b, values), kNoErr);
    ASSERT_EQ(values->values.size(), 5u);
    EXPECT_EQ(values->values[0].key, Key("cpNm"));
    EXPECT_EQ(values->values[0].type, kVtgActionString);
    EXPECT_EQ(a_->DisposeValueBlock(b), kNoErr);
}

TEST_F(ActionSuiteTest, MissingKeyWrongTypeAndNullArguments) {
    ValueBlockHandle b = NewBlock();
    a_->PutInteger(b, Key("long"), 4);
    a_->PutBoolean(b, Key("bool"), 1);
    a_->PutString(b, Key("strg"), "s");
    int32_t i = 0;
    double r = 0;
    char text[16];
    struct Case {
        const char* what;
        ErrorCode got;
    };
    const Case cases[] = {
        {"integer of a missing key", a_->GetInteger(b, Key("none"), &i)},
        {"integer of a boolean", a_->GetInteger(b, Key("bool"), &i)},
        {"boolean of an integer", a_->GetBoolean(b, Key("long"), &i)},
        {"enum of a string", a_->GetEnum(b, Key("strg"), &i, text, sizeof text)},
        {"string of an integer", a_->GetString(b, Key("long"), text, sizeof text)},
        {"real of a boolean", a_->GetReal(b, Key("bool"), &r, nullptr)},
        {"real of a string", a_->GetReal(b, Key("strg"), &r, nullptr)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, kActionKeyMissingErr) << c.what;

    // An integer reads as a real without a unit.
    char unit[kVtgUnitSize] = "junk";
    EXPECT_EQ(a_->GetReal(b, Key("long"), &r, unit), kNoErr);
    EXPECT_EQ(r, 4.0);
    EXPECT_STREQ(unit, "");

    const ErrorCode bad[] = {
        a_->NewValueBlock(nullptr),
        a_->PutInteger(nullptr, Key("long"), 1),
        a_->PutEnum(b, Key("enum"), nullptr, 1),
        a_->PutReal(b, Key("real"), nullptr, 1),
        a_->PutReal(b, Key("real"), "#TooLong", 1), // would not fit GetReal's unit buffer
        a_->PutString(b, Key("strg"), nullptr),
        a_->GetInteger(b, Key("long"), nullptr),
        a_->GetReal(b, Key("long"), nullptr, unit),
        a_->GetString(b, Key("strg"), nullptr, 4),
        a_->GetEnum(b, Key("enum"), nullptr, text, sizeof text),
        a_->InRecordMode(nullptr),
        a_->RecordEvent(nullptr, b),
        a_->RecordEvent("name", nullptr),
    };
    for (std::size_t k = 0; k < std::size(bad); ++k)
        EXPECT_EQ(bad[k], kBadParameterErr) << "case " << k;
    EXPECT_EQ(a_->GetString(b, Key("strg"), text, sizeof text), kNoErr) << "unchanged by nulls";
    EXPECT_STREQ(text, "s");
    a_->DisposeValueBlock(b);
}

TEST_F(ActionSuiteTest, TextsAreCutOnACharacterBoundary) {
    ValueBlockHandle b = NewBlock();
    a_->PutString(b, Key("step"), "自動（中密度）"); // three bytes a character
    a_->PutEnum(b, Key("oInd"), "中央左", 3);
    char text[8];
    EXPECT_EQ(a_->GetString(b, Key("step"), text, sizeof text), kBufferTooSmallErr);
    EXPECT_STREQ(text, "自動");
    int32_t index = 0;
    EXPECT_EQ(a_->GetEnum(b, Key("oInd"), &index, text, 4), kBufferTooSmallErr);
    EXPECT_STREQ(text, "中");
    EXPECT_EQ(index, 3);
    EXPECT_EQ(a_->GetString(b, Key("step"), text, 0), kBufferTooSmallErr);
    a_->DisposeValueBlock(b);
}

TEST_F(ActionSuiteTest, DisposedBlocksStayDetectableAndAreAccounted) {
    const hostapp::Memory& memory = host_.memory();
    ValueBlockHandle b = NewBlock();
    ValueBlockHandle c = NewBlock();
    EXPECT_NE(b, c);
    EXPECT_EQ(memory.usage(hostapp::kValueBlockMemoryName).blocks, 2);
    ASSERT_EQ(a_->DisposeValueBlock(b), kNoErr);
    EXPECT_EQ(memory.usage(hostapp::kValueBlockMemoryName).blocks, 1);

    Register("act");
    host_.actions().startRecording();
    int32_t i = 0;
    const ErrorCode dead[] = {
        a_->DisposeValueBlock(b),
        a_->PutInteger(b, Key("long"), 1),
        a_->GetInteger(b, Key("long"), &i),
        a_->RecordEvent("act", b),
        // A handle this host never gave out.
        a_->PutInteger(reinterpret_cast<ValueBlockHandle>(uintptr_t{9999}), Key("long"), 1),
    };
    for (ErrorCode e : dead)
        EXPECT_EQ(e, kDeadHandleErr);
    EXPECT_TRUE(host_.actions().events().empty());
    // A new block never takes the disposed one's handle.
    ValueBlockHandle d = NewBlock();
    EXPECT_NE(d, b);
    EXPECT_EQ(a_->DisposeValueBlock(nullptr), kNoErr);
    a_->DisposeValueBlock(c);
    a_->DisposeValueBlock(d);
    EXPECT_EQ(memory.usage(hostapp::kValueBlockMemoryName).blocks, 0);
    EXPECT_EQ(host_.actions().liveBlocks(), 0);

    // The accounting allocator's failure reaches the caller, with no handle.
    host_.memory().failName(hostapp::kValueBlockMemoryName);
    ValueBlockHandle e = reinterpret_cast<ValueBlockHandle>(uintptr_t{1});
    EXPECT_EQ(a_->NewValueBlock(&e), kOutOfMemoryErr);
    EXPECT_EQ(e, nullptr);
    host_.memory().clearFaults();
}

TEST_F(ActionSuiteTest, RecordingOnlyWhileTheHostRecords) {
    Register("VtG4_Circle_Action");
    ValueBlockHandle b = NewBlock();
    a_->PutInteger(b, Key("cpNm"), 12);
    int32_t recording = -1;
    EXPECT_EQ(a_->InRecordMode(&recording), kNoErr);
    EXPECT_EQ(recording, 0);
    EXPECT_EQ(a_->RecordEvent("VtG4_Circle_Action", b), kNoErr);
    EXPECT_EQ(a_->RecordEvent("unregistered", b), kNoErr) << "a no-op without recording";
    EXPECT_TRUE(host_.actions().events().empty());

    host_.actions().startRecording();
    a_->InRecordMode(&recording);
    EXPECT_EQ(recording, 1);
    EXPECT_EQ(a_->RecordEvent("VtG4_Circle_Action", b), kNoErr);
    EXPECT_EQ(a_->RecordEvent("unregistered", b), kNotFoundErr);
    // The event holds a copy: later changes and disposal of the block do not reach it.
    a_->PutInteger(b, Key("cpNm"), 99);
    a_->DisposeValueBlock(b);
    host_.actions().stopRecording();
    a_->InRecordMode(&recording);
    EXPECT_EQ(recording, 0);

    const auto& events = host_.actions().events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].action, "VtG4_Circle_Action");
    ASSERT_EQ(events[0].values.values.size(), 1u);
    EXPECT_EQ(events[0].values.values[0].integer, 12);
    EXPECT_EQ(host_.memory().usage(hostapp::kValueBlockMemoryName).blocks, 0);
}

TEST_F(ActionSuiteTest, RegistrationCopiesAndRefusesDuplicates) {
    std::string label = "配置数: ";
    std::string name = "VtG4_Circle_Action";
    const VtgActionParam params[] = {{Key("cpNm"), kVtgActionInteger, label.c_str()},
                                     {Key("oInd"), kVtgActionEnum, nullptr}};
    int16_t word = 3;
    ActionHandle h = nullptr;
    ASSERT_EQ(a_->RegisterAction(host_.plugin(), name.c_str(), "ライブ サークル", 1, &word, params,
                                 2, &h),
              kNoErr);
    label = "changed";
    name = "changed";
    ActionHandleOpaque* found = host_.actions().find("VtG4_Circle_Action");
    ASSERT_EQ(found, h);
    EXPECT_EQ(found->title, "ライブ サークル");
    EXPECT_EQ(found->userData, &word);
    ASSERT_EQ(found->params.size(), 2u);
    EXPECT_EQ(found->params[0].label, "配置数: ");
    EXPECT_EQ(found->params[1].label, "") << "a null label is taken as empty";

    ActionHandle again = nullptr;
    struct Case {
        const char* what;
        ErrorCode got;
    };
    const Case cases[] = {
        {"duplicate name", a_->RegisterAction(host_.plugin(), "VtG4_Circle_Action", "t", 1, nullptr,
                                              nullptr, 0, &again)},
        {"null plug-in", a_->RegisterAction(nullptr, "other", "t", 1, nullptr, nullptr, 0, &again)},
        {"empty name", a_->RegisterAction(host_.plugin(), "", "t", 1, nullptr, nullptr, 0, &again)},
        {"null title",
         a_->RegisterAction(host_.plugin(), "other", nullptr, 1, nullptr, nullptr, 0, &again)},
        {"negative count",
         a_->RegisterAction(host_.plugin(), "other", "t", 1, nullptr, params, -1, &again)},
        {"count without params",
         a_->RegisterAction(host_.plugin(), "other", "t", 1, nullptr, nullptr, 2, &again)},
        {"null handle",
         a_->RegisterAction(host_.plugin(), "other", "t", 1, nullptr, nullptr, 0, nullptr)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, kBadParameterErr) << c.what;
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(host_.actions().registered().size(), 1u);
}

// --- replay through a fake plug-in -------------------------------------------------

struct Played {
    ActionHandle action;
    const void* userData;
    int32_t showDialog;
    int32_t cpNm;
    ErrorCode readResult;
};
std::vector<Played> gPlayed;
ErrorCode gFailAt = 0; // the 1-based Do Action that answers "FAIL"; 0 for none
const ActionSuite* gSuite = nullptr;
hostapp::doc::Document* gDocument = nullptr;

ErrorCode FakePlugin(const char* caller, const char* selector, void* message) {
    if (std::strcmp(caller, kCallerActionManager) != 0 ||
        std::strcmp(selector, kSelectorDoAction) != 0)
        return kNoErr;
    auto* m = static_cast<DoActionMessage*>(message);
    Played p{m->action, m->userData, m->showDialog, 0, kNoErr};
    p.readResult = gSuite->GetInteger(m->values, Key("cpNm"), &p.cpNm);
    gPlayed.push_back(p);
    if (gDocument != nullptr)
        hostapp::doc::TouchLayers(*gDocument); // a change for this step's undo
    return static_cast<ErrorCode>(gPlayed.size()) == gFailAt ? VTG_FOURCC('F', 'A', 'I', 'L')
                                                             : kNoErr;
}

class ActionReplayTest : public ActionSuiteTest {
protected:
    void SetUp() override {
        ActionSuiteTest::SetUp();
        gPlayed.clear();
        gFailAt = 0;
        gSuite = a_;
        gDocument = nullptr;
        host_.attach(&FakePlugin, "/tmp/fake_plugin.so");
        circle_ = Register("VtG4_Circle_Action", &circleWord_);
        border_ = Register("VtG4_Border_Action", &borderWord_);
        host_.actions().startRecording();
        Record("VtG4_Circle_Action", 12);
        Record("VtG4_Border_Action", 5);
        Record("VtG4_Circle_Action", 7);
        host_.actions().stopRecording();
    }
    void TearDown() override {
        gSuite = nullptr;
        gDocument = nullptr;
    }
    void Record(const char* name, int32_t copies) {
        ValueBlockHandle b = NewBlock();
        a_->PutInteger(b, Key("cpNm"), copies);
        EXPECT_EQ(a_->RecordEvent(name, b), kNoErr);
        a_->DisposeValueBlock(b);
    }
    int16_t circleWord_ = 3, borderWord_ = 2;
    ActionHandle circle_ = nullptr, border_ = nullptr;
};

TEST_F(ActionReplayTest, EveryEventReachesItsActionInOrderAsItsOwnUndoStep) {
    gDocument = host_.docs().newDocument(100, 100);
    hostapp::doc::Commit(*gDocument);
    const std::size_t steps = gDocument->undoStack.size();
    std::string reason = "untouched";
    ASSERT_EQ(host_.playActions(&reason), kNoErr);
    EXPECT_EQ(reason, "untouched");
    ASSERT_EQ(gPlayed.size(), 3u);
    const ActionHandle actions[] = {circle_, border_, circle_};
    const void* data[] = {&circleWord_, &borderWord_, &circleWord_};
    const int32_t copies[] = {12, 5, 7};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(gPlayed[i].action, actions[i]) << i;
        EXPECT_EQ(gPlayed[i].userData, data[i]) << i;
        EXPECT_EQ(gPlayed[i].showDialog, 0) << i;
        EXPECT_EQ(gPlayed[i].readResult, kNoErr) << i;
        EXPECT_EQ(gPlayed[i].cpNm, copies[i]) << i;
    }
    EXPECT_EQ(gDocument->undoStack.size(), steps + 3);
    EXPECT_TRUE(gDocument->pending.empty());
    EXPECT_EQ(host_.actions().liveBlocks(), 0);
    EXPECT_EQ(host_.memory().total().blocks, 0);
    EXPECT_EQ(host_.actions().events().size(), 3u) << "playing keeps the recording";
}

TEST_F(ActionReplayTest, TheFirstErrorStopsTheReplay) {
    gFailAt = 2;
    std::string reason;
    EXPECT_EQ(host_.playActions(&reason), VTG_FOURCC('F', 'A', 'I', 'L'));
    EXPECT_EQ(gPlayed.size(), 2u);
    EXPECT_EQ(reason, "event 2 (VtG4_Border_Action): the plug-in answered FAIL");
    EXPECT_EQ(host_.memory().total().blocks, 0) << "the block of the failing event is freed";

    // An event of an action nobody registered (a file of another set-up).
    gPlayed.clear();
    gFailAt = 0;
    auto events = host_.actions().events();
    events.insert(events.begin() + 1, hostapp::RecordedEvent{"Nobody_Action", {}});
    host_.actions().setEvents(events);
    EXPECT_EQ(host_.playActions(&reason), kNotFoundErr);
    EXPECT_EQ(gPlayed.size(), 1u);
    EXPECT_EQ(reason, "event 2 (Nobody_Action): no plug-in registered this action");

    // Without memory for the host's block nothing is sent.
    gPlayed.clear();
    host_.memory().failName(hostapp::kValueBlockMemoryName);
    EXPECT_EQ(host_.playActions(nullptr), kOutOfMemoryErr);
    EXPECT_TRUE(gPlayed.empty());
    host_.memory().clearFaults();
    EXPECT_EQ(host_.memory().total().blocks, 0);
}

// --- the saved form ------------------------------------------------------------------

hostapp::ActionValue Value(uint32_t key, int32_t type, int32_t integer, double real,
                           std::string text) {
    hostapp::ActionValue v;
    v.key = key;
    v.type = type;
    v.integer = integer;
    v.real = real;
    v.text = std::move(text);
    return v;
}

TEST(ActionFile, ListFormatAndRoundTrip) {
    std::vector<hostapp::RecordedEvent> events(2);
    events[0].action = "VtG4_Circle_Action";
    events[0].values.values = {
        Value(Key("cpNm"), kVtgActionInteger, 12, 0, ""),
        Value(Key("revF"), kVtgActionBoolean, 1, 0, ""),
        Value(Key("ovlR"), kVtgActionReal, 0, 100, "#Prc"),
        Value(Key("oInd"), kVtgActionEnum, 3, 0, "中央左"),
        Value(Key("step"), kVtgActionString, 0, 0, "自動（中密度）"),
    };
    events[1].action = "VtG4_Border_Action";
    events[1].values.values = {
        Value(Key("stSy"), kVtgActionEnum, -2, 0, ""),
        Value(Key("angl"), kVtgActionReal, 0, 0.1, ""),
        Value(Key("tiny"), kVtgActionReal, 0, -4.9e-324, "#Ang"),
        Value(Key("strg"), kVtgActionString, 0, 0, " lead\\ and\nnew\tline\x01 "),
        Value(0x00010203u, kVtgActionInteger, std::numeric_limits<int32_t>::min(), 0, ""),
        Value(Key("0xAB"), kVtgActionInteger, 1, 0, ""),
        Value(Key("#cmt"), kVtgActionInteger, 5, 0, ""), // not written as a comment
        Value(Key("empt"), kVtgActionString, 0, 0, ""),
    };
    const std::string list = hostapp::WriteActionEvents(events);
    EXPECT_EQ(list.substr(0, list.find("action VtG4_Border")), "action VtG4_Circle_Action\n"
                                                               "  cpNm integer 12\n"
                                                               "  revF boolean 1\n"
                                                               "  ovlR real 100 #Prc\n"
                                                               "  oInd enum 3 中央左\n"
                                                               "  step string 自動（中密度）\n");
    EXPECT_NE(list.find("  strg string  lead\\\\ and\\nnew\\tline\\x01 \n"), std::string::npos)
        << list;
    EXPECT_NE(list.find("  0x00010203 integer -2147483648\n"), std::string::npos) << list;
    EXPECT_NE(list.find("  0x30784142 integer 1\n"), std::string::npos) << list;
    EXPECT_NE(list.find("  0x23636D74 integer 5\n"), std::string::npos) << list;

    std::vector<hostapp::RecordedEvent> read;
    std::string error;
    ASSERT_TRUE(hostapp::ReadActionEvents(hostapp::WriteActionFile(events), read, error)) << error;
    ASSERT_EQ(read.size(), events.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].action, events[i].action);
        EXPECT_TRUE(read[i].values == events[i].values) << i;
    }
    // Comments, blank lines and CR LF line ends are accepted.
    ASSERT_TRUE(hostapp::ReadActionEvents(
        "VERTiGON actions 1\r\n# saved\r\n\r\naction A\r\n  cpNm integer 1\r\n", read, error))
        << error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].values.values[0].integer, 1);
    // An empty recording saves and loads.
    ASSERT_TRUE(hostapp::ReadActionEvents(hostapp::WriteActionFile({}), read, error));
    EXPECT_TRUE(read.empty());
}

TEST(ActionFile, BadFilesGiveTheLineAndChangeNothing) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "1: the file is empty"},
        {"VERTiGON actions 2\n", "1: not a recorded action file"},
        {"VERTiGON actions 1\n  cpNm integer 1\n", "2: a value before the first \"action\" line"},
        {"VERTiGON actions 1\naction\n", "2: the action has no name"},
        {"VERTiGON actions 1\nactoin A\n", "2: expected \"action NAME\""},
        {"VERTiGON actions 1\naction A\n  cpN integer 1\n", "3: bad key \"cpN\""},
        {"VERTiGON actions 1\naction A\n  0xZZZZZZZZ integer 1\n", "3: bad key"},
        {"VERTiGON actions 1\naction A\n  cpNm long 1\n", "3: unknown value type \"long\""},
        {"VERTiGON actions 1\naction A\n  cpNm integer 12x\n", "3: bad integer value \"12x\""},
        {"VERTiGON actions 1\naction A\n  cpNm integer 2147483648\n", "3: bad integer value"},
        {"VERTiGON actions 1\naction A\n  cpNm integer\n", "3: bad integer value \"\""},
        {"VERTiGON actions 1\naction A\n  revF boolean 2\n", "3: a boolean is 0 or 1"},
        {"VERTiGON actions 1\naction A\n  oInd enum x 中央\n", "3: bad enum index \"x\""},
        {"VERTiGON actions 1\naction A\n  ovlR real nan #Prc\n", "3: bad real value \"nan\""},
        {"VERTiGON actions 1\naction A\n  ovlR real 1e999\n", "3: bad real value"},
        {"VERTiGON actions 1\naction A\n  ovlR real 1 #Percent\n", "3: the unit \"#Percent\""},
        {"VERTiGON actions 1\naction A\n  ovlR real 1 #\\nPercent\n",
         "3: the unit \"#\\nPercent\""},
        {"VERTiGON actions 1\naction A\n  step string a\\q\n", "3: unknown escape \\q"},
        {"VERTiGON actions 1\naction A\n  step string a\\\n", "3: a backslash ends the text"},
        {"VERTiGON actions 1\naction A\n  step string \\x0\n", "3: \\x needs two hex digits"},
        {"VERTiGON actions 1\naction A\n  step string \\x00\n", "3: a text cannot hold a NUL"},
        {"VERTiGON actions 1\naction A\n  step string \xE8\x87\n",
         "3: the line is not valid UTF-8"},
        {"VERTiGON actions 1\naction A\n  step string \\xE8\\x87\n",
         "3: the \\x escapes leave text that is not valid UTF-8"},
        {"VERTiGON actions 1\naction VtG3_Circle_\\xAction\n", "2: the \\x escapes leave"},
        {"VERTiGON actions 1\naction A\n  cpNm integer 1\n  cpNm integer 2\n",
         "4: the key cpNm appears twice"},
        // A file cut off inside its last line.
        {"VERTiGON actions 1\naction A\n  cpNm integer 12", "3: the file ends inside this line"},
        {"VERTiGON actions 1\naction A\n  step string 自動", "3: the file ends inside this line"},
        {"VERTiGON actions 1\naction VtG4_Circ", "2: the file ends inside this line"},
        {"VERTiGON actions 1", "1: the file ends inside this line"},
    };
    for (const Case& c : cases) {
        std::vector<hostapp::RecordedEvent> events(1);
        events[0].action = "kept";
        std::string error;
        EXPECT_FALSE(hostapp::ReadActionEvents(c.text, events, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << "got \"" << error << "\" for " << c.text;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error; // one line
        ASSERT_EQ(events.size(), 1u) << c.text;
        EXPECT_EQ(events[0].action, "kept");
    }
    // The same key in two events is fine.
    std::vector<hostapp::RecordedEvent> events;
    std::string error;
    EXPECT_TRUE(hostapp::ReadActionEvents(
        "VERTiGON actions 1\naction A\n  cpNm integer 1\naction A\n  cpNm integer 2\n", events,
        error))
        << error;
}

} // namespace
