// plugin_main.hpp - the plug-in library's exported entry.
#pragma once

#include "host/api/vtg_base.h"

extern "C" VTG_EXPORT ErrorCode PluginMain(const char* caller, const char* selector, void* message);
