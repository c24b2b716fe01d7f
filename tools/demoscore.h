// The short chorale built into explode-layers (--demo): every case of the
// command in four measures.
#pragma once

#include <string>

namespace tools {

// Answers the demo score as a MusicXML document.
std::string DemoScore();

}  // namespace tools
