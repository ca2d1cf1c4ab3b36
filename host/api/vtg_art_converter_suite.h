/*
 * vtg_art_converter_suite.h - the optional "Host Art Converter Suite" 3:
 * turns art into plain paths, text into the outlines of its glyphs.
 */
#ifndef VTG_API_ART_CONVERTER_SUITE_H
#define VTG_API_ART_CONVERTER_SUITE_H
#include "host/api/vtg_base.h"
#include "host/api/vtg_optional_suites.h"
#ifdef __cplusplus
extern "C" {
#endif

/* No font with glyph outlines could be found for a text. */
#define kNoFontErr VTG_FOURCC('F', 'N', 'T', '?')
/* A text has no character that shows ink (empty, or blanks only). */
#define kEmptyTextErr VTG_FOURCC('T', 'X', 'T', '0')

typedef struct ArtConverterSuite {
    /* ConvertToPaths: turns `art` into plain paths where it is not. A text
     * (point text or text frame) becomes a group of the outlines of its
     * glyphs, one path or compound path per glyph, in the text's paint and
     * placed where the text shows; a group or compound path has every text
     * inside it converted; paths and any other art stay as they are. The
     * result takes the place of `art`; *converted is its handle, which is
     * `art` itself unless `art` was a text (whose handle then dies). On
     * failure nothing changes and *converted is `art`. Errors:
     * kBadParameterErr (null converted), kDeadHandleErr, kNoFontErr,
     * kEmptyTextErr. */
    ErrorCode (*ConvertToPaths)(ArtHandle art, ArtHandle* converted);
} ArtConverterSuite;

#ifdef __cplusplus
}
#endif
#endif
