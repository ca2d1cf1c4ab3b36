// suites.hpp - the suite tables this host publishes, one function per
// suite file. PublishCoreSuites (publish.cpp) calls them all.
#pragma once

#include <cstddef>
#include <string>

#include "host/suite_broker.hpp"

namespace hostapp {

void PublishBaseSuites(SuiteBroker& broker);      // access, plug-ins, notifier, context, runtime
void PublishUserSuite(SuiteBroker& broker);       // alerts and questions
void PublishFileSuites(SuiteBroker& broker);      // file path, folders
void PublishMemorySuite(SuiteBroker& broker);     // named blocks
void PublishBezierSuite(SuiteBroker& broker);     // cubic length, evaluation, division
void PublishMathSuite(SuiteBroker& broker);       // matrices, rectangles, random numbers
void PublishArtSuite(SuiteBroker& broker);        // the art tree
void PublishPathSuite(SuiteBroker& broker);       // path segments and styles
void PublishDocumentSuite(SuiteBroker& broker);   // selection, layers, views
void PublishDictionarySuite(SuiteBroker& broker); // dictionaries and art tags
void PublishUndoSuite(SuiteBroker& broker);       // undo texts and revert
void PublishPaintStyleSuite(SuiteBroker& broker); // current paint, gradients (optional)
void PublishPanelSuite(SuiteBroker& broker);      // floating panels and flyouts
void PublishRegistrationSuites(
    SuiteBroker& broker); // menus, filters, effects, tools, annotators, commands
void PublishLiveEffectEditSuite(SuiteBroker& broker); // the preview of an effect being edited
void PublishPreferencesSuite(SuiteBroker& broker);    // persistent booleans and points
void PublishPluginGroupSuite(SuiteBroker& broker);    // live-object kinds, parts, private data
void PublishActionSuite(SuiteBroker& broker);         // recordable actions and value blocks
void PublishPathfinderSuite(SuiteBroker& broker);     // shape union (optional)
void PublishArtConverterSuite(SuiteBroker& broker);   // text to outlines (optional)

// Copies text into a caller's buffer of `size` bytes, cutting on a UTF-8
// character boundary and always terminating. Returns kBufferTooSmallErr when
// it had to cut (or when size is 0), else kNoErr.
ErrorCode CopyOut(const std::string& text, char* buffer, std::size_t size);

} // namespace hostapp
