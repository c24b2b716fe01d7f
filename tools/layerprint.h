// The per-staff, per-measure view of the layers that --print shows.
#pragma once

#include <string>

#include "musicxml/mxhostbinding.h"
#include "musicxml/mxscore.h"
#include "simhost/document.h"

namespace tools {

// Answers the layers of every staff and measure of the selection, one line per
// layer that holds entries, in the substitute host's notation of entries.
std::string DescribeLayers(simhost::Document& document, const musicxml::MxScore& score,
                           const musicxml::MxHostBinding& binding, const EREGION& selection);

}  // namespace tools
