// The root of the framework's streams.
#pragma once

#include "tonaroframework/foundation/pkbase.h"

class __PKBaseStream : public __PKBase {};
