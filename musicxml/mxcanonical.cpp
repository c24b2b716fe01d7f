#include "musicxml/mxcanonical.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "musicxml/mxtext.h"

namespace musicxml {
namespace {

void AppendAttributes(pugi::xml_node node, std::string* out) {
  std::vector<std::pair<std::string, std::string>> attributes;
  for (pugi::xml_attribute attribute : node.attributes()) attributes.emplace_back(attribute.name(), attribute.value());
  std::sort(attributes.begin(), attributes.end());
  for (const auto& attribute : attributes) *out += " " + attribute.first + "=\"" + attribute.second + "\"";
}

void Append(pugi::xml_node node, std::string* out) {
  if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
    *out += Trimmed(node.value());
    return;
  }
  if (node.type() != pugi::node_element) return;
  *out += "<";
  *out += node.name();
  AppendAttributes(node, out);
  *out += ">";
  for (pugi::xml_node child : node.children()) Append(child, out);
  *out += "</";
  *out += node.name();
  *out += ">";
}

}  // namespace

std::string CanonicalXml(pugi::xml_node node) {
  std::string out;
  Append(node, &out);
  return out;
}

std::string CanonicalAttributes(pugi::xml_node node) {
  std::string out = "<";
  out += node.name();
  AppendAttributes(node, &out);
  return out + ">";
}

}  // namespace musicxml
