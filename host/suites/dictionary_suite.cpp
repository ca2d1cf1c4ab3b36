// The dictionary suite: typed entries of art and free-standing dictionaries,
// and string art tags.
#include "host/api/vtg_dictionary_suite.h"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

using doc::DictNode;
using doc::Entries;
using doc::Entry;
using docsuite::Art;

ErrorCode Dict(DictionaryHandle h, DictNode*& out) {
    out = nullptr;
    if (docsuite::Store() == nullptr)
        return kNoDocumentErr;
    return docsuite::Store()->dictionary(h, out);
}

// The entries of a dictionary; for an art's dictionary the art is saved for
// undo first when `change` is set.
Entries& EntriesOf(DictNode* d, bool change) {
    if (d->owner == nullptr)
        return d->entries;
    if (change)
        doc::Touch(d->owner);
    return d->owner->s.dictionary;
}

ErrorCode GetArtDictionary(ArtHandle art, DictionaryHandle* dictionary) {
    doc::ArtNode* a = nullptr;
    if (dictionary == nullptr)
        return kBadParameterErr;
    *dictionary = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    *dictionary = doc::DocStore::handle(docsuite::Store()->dictionaryOf(a));
    return kNoErr;
}

ErrorCode NewDictionary(DictionaryHandle* dictionary) {
    if (dictionary == nullptr || docsuite::Store() == nullptr)
        return kBadParameterErr;
    *dictionary = doc::DocStore::handle(docsuite::Store()->newDictionary());
    return kNoErr;
}

ErrorCode DisposeDictionary(DictionaryHandle dictionary) {
    if (dictionary == nullptr)
        return kNoErr;
    DictNode* d = nullptr;
    if (ErrorCode e = Dict(dictionary, d))
        return e;
    if (d->owner != nullptr)
        return kBadParameterErr;
    d->alive = false;
    d->entries.clear();
    return kNoErr;
}

ErrorCode CopyDictionary(DictionaryHandle from, DictionaryHandle to) {
    DictNode *f = nullptr, *t = nullptr;
    if (ErrorCode e = Dict(from, f))
        return e;
    if (ErrorCode e = Dict(to, t))
        return e;
    Entries copy = EntriesOf(f, false);
    EntriesOf(t, true) = std::move(copy);
    return kNoErr;
}

ErrorCode GetEntryType(DictionaryHandle dictionary, const char* key, int32_t* type) {
    DictNode* d = nullptr;
    if (key == nullptr || type == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Dict(dictionary, d))
        return e;
    const Entries& m = EntriesOf(d, false);
    const auto it = m.find(key);
    *type = it == m.end() ? kVtgEntryNone : it->second.type;
    return kNoErr;
}

ErrorCode CountEntries(DictionaryHandle dictionary, int32_t* count) {
    DictNode* d = nullptr;
    if (count == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Dict(dictionary, d))
        return e;
    *count = static_cast<int32_t>(EntriesOf(d, false).size());
    return kNoErr;
}

ErrorCode GetNthKey(DictionaryHandle dictionary, int32_t index, char* buffer, size_t size) {
    DictNode* d = nullptr;
    if (buffer == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Dict(dictionary, d))
        return e;
    const Entries& m = EntriesOf(d, false);
    if (index < 0 || static_cast<size_t>(index) >= m.size())
        return kBadParameterErr;
    auto it = m.begin();
    std::advance(it, index);
    return CopyOut(it->first, buffer, size);
}

ErrorCode DeleteEntry(DictionaryHandle dictionary, const char* key) {
    DictNode* d = nullptr;
    if (key == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Dict(dictionary, d))
        return e;
    if (EntriesOf(d, false).count(key) == 0)
        return kNotFoundErr;
    EntriesOf(d, true).erase(key);
    return kNoErr;
}

// Finds an entry of `type`.
ErrorCode Find(DictionaryHandle dictionary, const char* key, int32_t type, const Entry*& out) {
    DictNode* d = nullptr;
    out = nullptr;
    if (key == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Dict(dictionary, d))
        return e;
    const Entries& m = EntriesOf(d, false);
    const auto it = m.find(key);
    if (it == m.end())
        return kNotFoundErr;
    if (it->second.type != type)
        return kWrongEntryTypeErr;
    out = &it->second;
    return kNoErr;
}

ErrorCode Store(DictionaryHandle dictionary, const char* key, Entry entry) {
    DictNode* d = nullptr;
    if (key == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Dict(dictionary, d))
        return e;
    EntriesOf(d, true)[key] = std::move(entry);
    return kNoErr;
}

ErrorCode GetInteger(DictionaryHandle dictionary, const char* key, int32_t* value) {
    const Entry* e = nullptr;
    if (value == nullptr)
        return kBadParameterErr;
    if (ErrorCode err = Find(dictionary, key, kVtgEntryInteger, e))
        return err;
    *value = e->integer;
    return kNoErr;
}

ErrorCode SetInteger(DictionaryHandle dictionary, const char* key, int32_t value) {
    Entry e;
    e.type = kVtgEntryInteger;
    e.integer = value;
    return Store(dictionary, key, e);
}

ErrorCode GetBoolean(DictionaryHandle dictionary, const char* key, int32_t* value) {
    const Entry* e = nullptr;
    if (value == nullptr)
        return kBadParameterErr;
    if (ErrorCode err = Find(dictionary, key, kVtgEntryBoolean, e))
        return err;
    *value = e->integer;
    return kNoErr;
}

ErrorCode SetBoolean(DictionaryHandle dictionary, const char* key, int32_t value) {
    Entry e;
    e.type = kVtgEntryBoolean;
    e.integer = value != 0 ? 1 : 0;
    return Store(dictionary, key, e);
}

ErrorCode GetReal(DictionaryHandle dictionary, const char* key, double* value) {
    const Entry* e = nullptr;
    if (value == nullptr)
        return kBadParameterErr;
    if (ErrorCode err = Find(dictionary, key, kVtgEntryReal, e))
        return err;
    *value = e->real;
    return kNoErr;
}

ErrorCode SetReal(DictionaryHandle dictionary, const char* key, double value) {
    Entry e;
    e.type = kVtgEntryReal;
    e.real = value;
    return Store(dictionary, key, e);
}

ErrorCode GetString(DictionaryHandle dictionary, const char* key, char* buffer, size_t size) {
    const Entry* e = nullptr;
    if (buffer == nullptr)
        return kBadParameterErr;
    if (ErrorCode err = Find(dictionary, key, kVtgEntryString, e))
        return err;
    return CopyOut(e->text, buffer, size);
}

ErrorCode SetString(DictionaryHandle dictionary, const char* key, const char* value) {
    if (value == nullptr)
        return kBadParameterErr;
    Entry e;
    e.type = kVtgEntryString;
    e.text = value;
    return Store(dictionary, key, e);
}

ErrorCode GetArtTag(ArtHandle art, const char* name, char* buffer, size_t size) {
    doc::ArtNode* a = nullptr;
    if (name == nullptr || buffer == nullptr || size == 0)
        return kBadParameterErr;
    buffer[0] = '\0';
    if (ErrorCode e = Art(art, a))
        return e;
    const auto it = a->s.tags.find(name);
    if (it == a->s.tags.end())
        return kTagNotFoundErr;
    return CopyOut(it->second, buffer, size);
}

ErrorCode SetArtTag(ArtHandle art, const char* name, const char* value) {
    doc::ArtNode* a = nullptr;
    if (name == nullptr || value == nullptr || name[0] == '\0')
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    doc::Touch(a);
    a->s.tags[name] = value;
    return kNoErr;
}

ErrorCode DeleteArtTag(ArtHandle art, const char* name) {
    doc::ArtNode* a = nullptr;
    if (name == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    if (a->s.tags.count(name) == 0)
        return kTagNotFoundErr;
    doc::Touch(a);
    a->s.tags.erase(name);
    return kNoErr;
}

const DictionarySuite kDictionary = {
    &GetArtDictionary, &NewDictionary, &DisposeDictionary, &CopyDictionary, &GetEntryType,
    &CountEntries,     &GetNthKey,     &DeleteEntry,       &GetInteger,     &SetInteger,
    &GetBoolean,       &SetBoolean,    &GetReal,           &SetReal,        &GetString,
    &SetString,        &GetArtTag,     &SetArtTag,         &DeleteArtTag,
};

} // namespace

void PublishDictionarySuite(SuiteBroker& broker) {
    broker.publish(kDictionarySuiteName, kDictionarySuiteVersion, &kDictionary);
}

} // namespace hostapp
