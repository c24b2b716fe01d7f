// One wrapper per host service, each with the service's name and arguments,
// the version last. A wrapper looks its service up on the first call; when the
// host lacks the service it answers the default of hkservicetable.inc.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "tonaropdk/hkbinding.h"
#include "tonaropdk/hostabi.h"

#define HK_SERVICE(name, result, fallback, params, args) tonaropdk::binding::result::Type name params;
#define HK_CUSTOM(name, result, fallback, params, args) tonaropdk::binding::result::Type name params;
#include "tonaropdk/hkservicetable.inc"
#undef HK_SERVICE
#undef HK_CUSTOM
