// Small readers of element text shared by the reader's units.
#pragma once

#include <cstdint>
#include <string>

#include <pugixml.hpp>

namespace musicxml {

// Answers whether `text` (surrounding blanks allowed) is a whole number within
// [minimum, maximum]; a decimal with only zeros after the point counts ("12.0").
bool ParseWholeNumber(const char* text, std::int64_t minimum, std::int64_t maximum, std::int64_t* value);

// Answers the element's text without surrounding blanks.
std::string TrimmedText(pugi::xml_node node);

// Answers the text without surrounding blanks.
std::string Trimmed(const std::string& text);

}  // namespace musicxml
