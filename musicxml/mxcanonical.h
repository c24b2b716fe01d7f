// A canonical text of XML content, for comparing what two documents hold
// regardless of attribute order, indentation and comments.
#pragma once

#include <string>

#include <pugixml.hpp>

namespace musicxml {

// Answers the node and everything inside it as text: attributes sorted by
// name, text without surrounding blanks, comments and processing instructions left out.
std::string CanonicalXml(pugi::xml_node node);

// Answers only the element's name and its sorted attributes, as "<name a="v">".
std::string CanonicalAttributes(pugi::xml_node node);

}  // namespace musicxml
