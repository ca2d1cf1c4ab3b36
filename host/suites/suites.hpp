// suites.hpp - the suite tables this host publishes, one function per
// suite file. PublishCoreSuites (publish.cpp) calls them all.
#pragma once

#include <cstddef>
#include <string>

#include "host/suite_broker.hpp"

namespace hostapp {

void PublishBaseSuites(SuiteBroker& broker);   // access, plug-ins, notifier, context, runtime
void PublishUserSuite(SuiteBroker& broker);    // alerts and questions
void PublishFileSuites(SuiteBroker& broker);   // file path, folders
void PublishMemorySuite(SuiteBroker& broker);  // named blocks

// Copies text into a caller's buffer of `size` bytes, cutting on a UTF-8
// character boundary and always terminating. Returns kBufferTooSmallErr when
// it had to cut (or when size is 0), else kNoErr.
ErrorCode CopyOut(const std::string& text, char* buffer, std::size_t size);

} // namespace hostapp
