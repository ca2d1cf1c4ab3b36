/*
 * vtg_dictionary_suite.h - dictionaries of typed entries and string art
 * tags.
 *
 * A dictionary maps keys (UTF-8 texts) to integer, boolean, real or string
 * entries. Every art has one, created on first use and owned by the art: its
 * handle dies with the art (kDeadHandleErr). Free-standing dictionaries
 * (NewDictionary) belong to the caller until DisposeDictionary.
 *
 * Art tags are a separate set of named string values on an art.
 */
#ifndef VTG_API_DICTIONARY_SUITE_H
#define VTG_API_DICTIONARY_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kDictionarySuiteName "Host Dictionary Suite"
#define kDictionarySuiteVersion 1

/* Entry types. */
#define kVtgEntryNone 0 /* no such key */
#define kVtgEntryInteger 1
#define kVtgEntryBoolean 2
#define kVtgEntryReal 3
#define kVtgEntryString 4

/* The entry exists with another type. */
#define kWrongEntryTypeErr VTG_FOURCC('T', 'Y', 'P', '?')
/* No tag of that name on the art. */
#define kTagNotFoundErr VTG_FOURCC('T', 'G', 'N', 'F')

typedef struct DictionarySuite {
    /* GetArtDictionary: the dictionary of `art` (owned by the art).
     * Errors: kDeadHandleErr. */
    ErrorCode (*GetArtDictionary)(ArtHandle art, DictionaryHandle* dictionary);
    /* NewDictionary: an empty free-standing dictionary, owned by the caller. */
    ErrorCode (*NewDictionary)(DictionaryHandle* dictionary);
    /* DisposeDictionary: frees a free-standing dictionary; an art's
     * dictionary gives kBadParameterErr. Null is accepted. */
    ErrorCode (*DisposeDictionary)(DictionaryHandle dictionary);
    /* CopyDictionary: replaces the entries of `to` by those of `from`. */
    ErrorCode (*CopyDictionary)(DictionaryHandle from, DictionaryHandle to);

    /* GetEntryType: a kVtgEntry... type, kVtgEntryNone for a missing key. */
    ErrorCode (*GetEntryType)(DictionaryHandle dictionary, const char* key, int32_t* type);
    /* CountEntries / GetNthKey: keys in sorted byte order; the key is copied
     * into buffer (kBufferTooSmallErr when cut). */
    ErrorCode (*CountEntries)(DictionaryHandle dictionary, int32_t* count);
    ErrorCode (*GetNthKey)(DictionaryHandle dictionary, int32_t index, char* buffer, size_t size);
    /* DeleteEntry: removes a key; a missing key gives kNotFoundErr. */
    ErrorCode (*DeleteEntry)(DictionaryHandle dictionary, const char* key);

    /* Getters: kNotFoundErr for a missing key, kWrongEntryTypeErr when the
     * entry has another type (the out value is then untouched). Setters
     * create or replace the entry, whatever its type was. */
    ErrorCode (*GetInteger)(DictionaryHandle dictionary, const char* key, int32_t* value);
    ErrorCode (*SetInteger)(DictionaryHandle dictionary, const char* key, int32_t value);
    /* Booleans are 0 or 1; a non-zero value is stored as 1. */
    ErrorCode (*GetBoolean)(DictionaryHandle dictionary, const char* key, int32_t* value);
    ErrorCode (*SetBoolean)(DictionaryHandle dictionary, const char* key, int32_t value);
    ErrorCode (*GetReal)(DictionaryHandle dictionary, const char* key, double* value);
    ErrorCode (*SetReal)(DictionaryHandle dictionary, const char* key, double value);
    /* GetString copies into buffer (cut on a character boundary, always
     * terminated; kBufferTooSmallErr when cut). */
    ErrorCode (*GetString)(DictionaryHandle dictionary, const char* key, char* buffer, size_t size);
    ErrorCode (*SetString)(DictionaryHandle dictionary, const char* key, const char* value);

    /* GetArtTag: the string tag `name` of `art`, copied into buffer.
     * Errors: kTagNotFoundErr ("TGNF") when the art has no such tag (buffer
     * then holds an empty text), kBufferTooSmallErr when cut,
     * kDeadHandleErr. */
    ErrorCode (*GetArtTag)(ArtHandle art, const char* name, char* buffer, size_t size);
    /* SetArtTag: sets or replaces the tag. */
    ErrorCode (*SetArtTag)(ArtHandle art, const char* name, const char* value);
    /* DeleteArtTag: removes the tag; kTagNotFoundErr when absent. */
    ErrorCode (*DeleteArtTag)(ArtHandle art, const char* name);
} DictionarySuite;

#ifdef __cplusplus
}
#endif
#endif
