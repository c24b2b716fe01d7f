#include "musicxml/mxtext.h"

#include <cctype>

namespace musicxml {

bool ParseWholeNumber(const char* text, std::int64_t minimum, std::int64_t maximum, std::int64_t* value) {
  if (text == nullptr) return false;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
  std::int64_t number = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    if (number > (INT64_MAX - 9) / 10) return false;
    number = number * 10 + (*text - '0');
  }
  if (*text == '.') {
    for (++text; *text == '0'; ++text) {
    }
  }
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  if (*text != 0) return false;
  if (negative) number = -number;
  if (number < minimum || number > maximum) return false;
  *value = number;
  return true;
}

std::string TrimmedText(pugi::xml_node node) { return Trimmed(node.text().get()); }

std::string Trimmed(const std::string& text) {
  const std::size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return std::string();
  const std::size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

}  // namespace musicxml
