/*
 * vtg_optional_suites.h - suites a host may lack.
 *
 * A plug-in must work without them and try again later: a host can publish
 * them after start-up. Each has its own header with its operations; this
 * one lists their names and versions.
 */
#ifndef VTG_API_OPTIONAL_SUITES_H
#define VTG_API_OPTIONAL_SUITES_H

#define kPaintStyleSuiteName "Host Paint Style Suite"
#define kPaintStyleSuiteVersion 11
#define kSymbolPaletteSuiteName "Host Symbol Palette Suite"
#define kSymbolPaletteSuiteVersion 3
#define kBrushStrokesSuiteName "Host Brush Strokes Suite"
#define kBrushStrokesSuiteVersion 3
#define kExpandSuiteName "Host Expand Suite"
#define kExpandSuiteVersion 4
#define kArtConverterSuiteName "Host Art Converter Suite"
#define kArtConverterSuiteVersion 3
#define kPathfinderSuiteName "Host Pathfinder Suite"
#define kPathfinderSuiteVersion 7

#endif
