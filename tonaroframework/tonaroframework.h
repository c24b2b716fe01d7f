// The object framework over the host's records.
#pragma once

#include "tonaroframework/foundation/pkbase.h"
#include "tonaroframework/foundation/pkiteratorbase.h"
#include "tonaroframework/foundation/pkiteratorhandler.h"
#include "tonaroframework/foundation/pkcollection.h"
#include "tonaroframework/foundation/pkstring.h"
#include "tonaroframework/utilities/pkbasestream.h"
#include "tonaroframework/utilities/pkfilestream.h"
#include "tonaroframework/utilities/pktextfilestream.h"
#include "tonaroframework/utilities/pktextfileutf8stream.h"
#include "tonaroframework/utilities/pksettingspair.h"
#include "tonaroframework/score/pkmusicregion.h"
