// The object framework over the host's records.
#pragma once

#include "tonaroframework/foundation/pkbase.h"
