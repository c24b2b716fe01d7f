// The host interface: binary conventions, process-wide host facts and one
// wrapper per host service.
#pragma once

#include "tonaropdk/cleantgf.h"
#include "tonaropdk/hkbinding.h"
#include "tonaropdk/hkservices.h"
#include "tonaropdk/eregion.h"
#include "tonaropdk/exentry.h"
#include "tonaropdk/extgf.h"
#include "tonaropdk/hostabi.h"
