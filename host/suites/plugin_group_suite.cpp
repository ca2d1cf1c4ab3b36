// The plug-in group suite: registered kinds of plug-in art and the parts
// and private data of one plug-in art.
#include <algorithm>
#include <cstring>

#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_plugin_group_suite.h"
#include "host/plugin_groups.hpp"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

using doc::ArtNode;

// The plug-in art of a handle.
ErrorCode PluginArt(ArtHandle h, ArtNode*& out) {
    if (ErrorCode e = docsuite::Art(h, out))
        return e;
    if (out->s.kind != kVtgArtPlugin)
        return kWrongArtKindErr;
    return kNoErr;
}

ErrorCode AddGroup(PluginRef plugin, const char* name, const VtgPluginGroupData* data,
                   int32_t options, PluginGroupHandle* group) {
    if (group != nullptr)
        *group = nullptr;
    if (name == nullptr || *name == '\0' || data == nullptr || group == nullptr ||
        Host::current() == nullptr)
        return kBadParameterErr;
    *group = AddPluginGroup(Host::current(), plugin, name, data->major, data->minor,
                            data->description != nullptr ? data->description : "", options);
    return kNoErr;
}

ErrorCode SetObjectName(PluginGroupHandle group, const char* name) {
    if (name == nullptr || !IsPluginGroup(Host::current(), group))
        return kBadParameterErr;
    group->objectName = name;
    return kNoErr;
}

ErrorCode GetGroupName(PluginGroupHandle group, char* buffer, size_t size) {
    if (buffer == nullptr || !IsPluginGroup(Host::current(), group))
        return kBadParameterErr;
    if (group->name.size() + 1 > size) {
        if (size > 0)
            buffer[0] = '\0';
        return kBufferTooSmallErr;
    }
    return CopyOut(group->name, buffer, size);
}

ErrorCode GetGroupOptions(PluginGroupHandle group, int32_t* options) {
    if (options == nullptr || !IsPluginGroup(Host::current(), group))
        return kBadParameterErr;
    *options = group->options;
    return kNoErr;
}

ErrorCode GetArtGroup(ArtHandle art, PluginGroupHandle* group) {
    if (group == nullptr)
        return kBadParameterErr;
    *group = nullptr;
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    // A document's stored name is resolved to the group on first use.
    if (a->s.plugin.group == nullptr && !a->s.plugin.groupName.empty())
        a->s.plugin.group = FindPluginGroup(Host::current(), a->s.plugin.groupName);
    *group = a->s.plugin.group;
    return kNoErr;
}

ErrorCode SetArtGroup(ArtHandle art, PluginGroupHandle group) {
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    if (!IsPluginGroup(Host::current(), group))
        return kBadParameterErr;
    doc::Touch(a);
    a->s.plugin.group = group;
    a->s.plugin.groupName = group->name;
    return kNoErr;
}

ErrorCode Part(ArtHandle art, ArtHandle* out, bool edit) {
    if (out == nullptr)
        return kBadParameterErr;
    *out = nullptr;
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    ArtNode* part = edit ? a->s.plugin.edit : a->s.plugin.result;
    *out = part != nullptr ? doc::DocStore::handle(part) : nullptr;
    return kNoErr;
}

ErrorCode GetEditArt(ArtHandle art, ArtHandle* edit) {
    return Part(art, edit, true);
}
ErrorCode GetResultArt(ArtHandle art, ArtHandle* result) {
    return Part(art, result, false);
}

ErrorCode GetDataVersion(ArtHandle art, int32_t* major, int32_t* minor) {
    if (major == nullptr || minor == nullptr)
        return kBadParameterErr;
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    *major = a->s.plugin.dataMajor;
    *minor = a->s.plugin.dataMinor;
    return kNoErr;
}

ErrorCode SetDataVersion(ArtHandle art, int32_t major, int32_t minor) {
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    doc::Touch(a);
    a->s.plugin.dataMajor = major;
    a->s.plugin.dataMinor = minor;
    return kNoErr;
}

ErrorCode GetDataCount(ArtHandle art, size_t* count) {
    if (count == nullptr)
        return kBadParameterErr;
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    *count = a->s.plugin.data.size();
    return kNoErr;
}

ErrorCode SetDataCount(ArtHandle art, size_t count) {
    if (count > kVtgMaxPluginData)
        return kBadParameterErr;
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    doc::Touch(a);
    a->s.plugin.data.resize(count, 0);
    return kNoErr;
}

bool InRange(const ArtNode* a, size_t offset, size_t count) {
    size_t held = a->s.plugin.data.size();
    return offset <= held && count <= held - offset;
}

ErrorCode GetData(ArtHandle art, size_t offset, size_t count, void* buffer) {
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    if ((buffer == nullptr && count != 0) || !InRange(a, offset, count))
        return kBadParameterErr;
    if (count != 0)
        std::memcpy(buffer, a->s.plugin.data.data() + offset, count);
    return kNoErr;
}

ErrorCode SetData(ArtHandle art, size_t offset, size_t count, const void* data) {
    ArtNode* a = nullptr;
    if (ErrorCode e = PluginArt(art, a))
        return e;
    if ((data == nullptr && count != 0) || !InRange(a, offset, count))
        return kBadParameterErr;
    doc::Touch(a);
    if (count != 0)
        std::memcpy(a->s.plugin.data.data() + offset, data, count);
    return kNoErr;
}

const PluginGroupSuite kPluginGroup = {
    &AddGroup,     &SetObjectName, &GetGroupName, &GetGroupOptions, &GetArtGroup,
    &SetArtGroup,  &GetEditArt,    &GetResultArt, &GetDataVersion,  &SetDataVersion,
    &GetDataCount, &SetDataCount,  &GetData,      &SetData,
};

} // namespace

void PublishPluginGroupSuite(SuiteBroker& broker) {
    broker.publish(kPluginGroupSuiteName, kPluginGroupSuiteVersion, &kPluginGroup);
}

} // namespace hostapp
