// Small MusicXML documents for the tests, built from measure content.
#pragma once

#include <string>

namespace testsupport {

// Answers a score-partwise document with one part "P1" whose measures are
// the given content (each a string of <measure> children); `staves` > 1 adds <staves>.
std::string ScoreWith(const std::string& firstMeasure, const std::string& secondMeasure = std::string(),
                      int staves = 1);

// Answers a <note> element: pitch like "C4", "F#5", "Bb3" or "rest"; extra goes inside after <type>.
std::string Note(const std::string& pitch, int duration, const char* type, int voice = 1,
                 const std::string& extra = std::string(), int staff = 0);

}  // namespace testsupport
