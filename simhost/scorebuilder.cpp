#include "simhost/scorebuilder.h"

#include <algorithm>
#include <numeric>
#include <sstream>

#include "simhost/pitch.h"

namespace simhost {
namespace {

// The written durations of the value digits: "1" a whole note ... "128".
struct ValueRow {
  const char* digits;
  std::int32_t duration;
};
const ValueRow kValues[] = {{"1", 4096}, {"2", 2048}, {"4", 1024}, {"8", 512},
                            {"16", 256}, {"32", 128}, {"64", 64},  {"128", 32}};

// Articulation marks of the notation.
struct MarkRow {
  char letter;
  ArticulationKind kind;
};
const MarkRow kMarks[] = {{'s', ArticulationKind::kStaccato},
                          {'a', ArticulationKind::kAccent},
                          {'t', ArticulationKind::kTenuto},
                          {'m', ArticulationKind::kMarcato}};

// A fraction of time units, to place entries under tuplets without drift.
struct Fraction {
  std::int64_t numerator = 0;
  std::int64_t denominator = 1;

  void Add(std::int64_t num, std::int64_t den) {
    numerator = numerator * den + num * denominator;
    denominator *= den;
    const std::int64_t divisor = std::gcd(numerator, denominator);
    if (divisor > 1) {
      numerator /= divisor;
      denominator /= divisor;
    }
  }
  std::int32_t Floor() const { return std::int32_t(numerator / denominator); }
};

struct PendingTuplet {
  std::int32_t firstIndex = 0;
  std::int32_t lastIndex = -1;
  TupletRatio ratio;
  bool unitGiven = false;
};

struct ParsedEntry {
  EXENTRY entry{};
  std::vector<ArticulationKind> marks;
};

// Reads one entry token (without tuplet braces) into `parsed`; false with `error` set.
bool ParseEntry(const std::string& token, std::uint16_t key, std::int32_t* lastDuration, ParsedEntry* parsed,
                std::string* error) {
  std::string head = token, value, marks;
  const std::size_t at = head.find('@');
  if (at != std::string::npos) {
    marks = head.substr(at + 1);
    head.resize(at);
  }
  const std::size_t slash = head.find('/');
  if (slash != std::string::npos) {
    value = head.substr(slash + 1);
    head.resize(slash);
  }
  EXENTRY& entry = parsed->entry;
  if (!head.empty() && head[0] == 'g') {
    entry.flags |= kEntryGraceFlag;
    head.erase(0, 1);
  }
  if (!value.empty()) {
    *lastDuration = DurationOfValue(value);
    if (*lastDuration == 0) {
      *error = "bad value in \"" + token + "\"";
      return false;
    }
  }
  entry.duration = std::int16_t(*lastDuration);
  if (head == "r") {
    entry.noteCount = 0;
  } else {
    entry.flags |= kEntryNoteFlag;
    if (head.empty() || head.back() == '-') {
      *error = "no note at the end of \"" + token + "\"";
      return false;
    }
    std::istringstream pitches(head);
    std::string text;
    while (std::getline(pitches, text, '-')) {
      const bool tied = !text.empty() && text.back() == '~';
      if (tied) text.pop_back();
      Pitch pitch;
      if (!ParsePitch(text, &pitch) || entry.noteCount >= kMaxEntryNotes) {
        *error = "bad note \"" + text + "\" in \"" + token + "\"";
        return false;
      }
      EXNOTE note = NoteFromPitch(pitch, key);
      note.noteID = std::int16_t(entry.noteCount + 1);
      note.flags = kNoteCreatedFlag | ((std::uint32_t(note.noteID) << 16) & kNoteIDBitsMask) |
                   (tied ? std::uint32_t(kNoteTieFlag) : 0u);
      entry.notes[entry.noteCount++] = note;
    }
    if (entry.noteCount == 0) {
      *error = "no note in \"" + token + "\"";
      return false;
    }
  }
  for (char letter : marks) {
    bool known = false;
    for (const MarkRow& row : kMarks)
      if (row.letter == letter) {
        parsed->marks.push_back(row.kind);
        known = true;
      }
    if (!known) {
      *error = "bad mark in \"" + token + "\"";
      return false;
    }
  }
  return true;
}

// Reads "{3:2" or "{3:2/8" into a pending tuplet.
bool ParseTupletOpen(const std::string& token, PendingTuplet* tuplet) {
  int actual = 0, normal = 0;
  char colon = 0;
  std::istringstream in(token.substr(1));
  if (!(in >> actual >> colon >> normal) || colon != ':' || actual <= 0 || normal <= 0) return false;
  tuplet->ratio.actualCount = std::int16_t(actual);
  tuplet->ratio.normalCount = std::int16_t(normal);
  std::string rest;
  std::getline(in, rest);
  if (rest.empty()) return true;
  if (rest[0] != '/') return false;
  const std::int32_t unit = DurationOfValue(rest.substr(1));
  if (unit == 0) return false;
  tuplet->ratio.actualUnit = tuplet->ratio.normalUnit = std::int16_t(unit);
  tuplet->unitGiven = true;
  return true;
}

// Gives every entry its measure position: written durations scaled by the
// tuplets around it, grace notes taking no time.
void PlaceEntries(std::vector<ParsedEntry>& entries, const std::vector<PendingTuplet>& tuplets) {
  Fraction elapsed;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXENTRY& entry = entries[i].entry;
    entry.measurePos = elapsed.Floor();
    if ((entry.flags & kEntryGraceFlag) != 0) continue;
    std::int64_t num = entry.duration, den = 1;
    for (const PendingTuplet& tuplet : tuplets)
      if (std::int32_t(i) >= tuplet.firstIndex && std::int32_t(i) <= tuplet.lastIndex) {
        num *= tuplet.ratio.ElapsedSpan();
        den *= tuplet.ratio.WrittenSpan();
      }
    elapsed.Add(num, den);
  }
}

}  // namespace

std::int32_t DurationOfValue(const std::string& value) {
  std::size_t dots = 0;
  while (dots < value.size() && value[value.size() - 1 - dots] == '.') ++dots;
  const std::string digits = value.substr(0, value.size() - dots);
  for (const ValueRow& row : kValues)
    if (digits == row.digits) {
      std::int32_t duration = row.duration, add = row.duration;
      for (std::size_t i = 0; i < dots; ++i) duration += (add /= 2);
      return duration;
    }
  return 0;
}

std::string ValueOfDuration(std::int32_t duration) {
  for (const ValueRow& row : kValues)
    for (std::string dots; dots.size() <= 3; dots += '.')
      if (DurationOfValue(row.digits + dots) == duration) return row.digits + dots;
  return "";
}

ScoreBuilder& ScoreBuilder::Staves(std::int16_t count) {
  for (std::int16_t i = 0; i < count; ++i) _document.AddStaff();
  return *this;
}

ScoreBuilder& ScoreBuilder::Measures(std::int16_t count, TimeSignature time, std::uint16_t key) {
  _document.AddMeasures(count, time, key);
  return *this;
}

bool ScoreBuilder::Layer(std::int16_t staff, std::int16_t measure, std::int16_t userLayer,
                         const std::string& notation) {
  const LayerPlace place{staff, measure, std::int16_t(userLayer - 1)};
  if (!_document.IsValidLayer(place)) {
    _error = "no such staff, measure or layer";
    return false;
  }
  const std::uint16_t key = _document.GetKey(measure);
  std::vector<ParsedEntry> entries;
  std::vector<PendingTuplet> tuplets, open;
  std::int32_t lastDuration = kQuarterNote;
  std::istringstream tokens(notation);
  std::string token;
  while (tokens >> token) {
    if (token[0] == '{') {
      PendingTuplet tuplet;
      tuplet.firstIndex = std::int32_t(entries.size());
      if (!ParseTupletOpen(token, &tuplet)) {
        _error = "bad tuplet \"" + token + "\"";
        return false;
      }
      open.push_back(tuplet);
      continue;
    }
    std::size_t closes = 0;
    while (!token.empty() && token.back() == '}') {
      token.pop_back();
      ++closes;
    }
    ParsedEntry parsed;
    if (!ParseEntry(token, key, &lastDuration, &parsed, &_error)) return false;
    parsed.entry.clefIndex = _document.ClefAt(staff, measure);
    for (PendingTuplet& tuplet : open)
      if (!tuplet.unitGiven && tuplet.firstIndex == std::int32_t(entries.size())) {
        tuplet.ratio.actualUnit = tuplet.ratio.normalUnit = parsed.entry.duration;
        tuplet.unitGiven = true;
      }
    entries.push_back(parsed);
    for (; closes > 0; --closes) {
      if (open.empty()) {
        _error = "'}' without a tuplet";
        return false;
      }
      open.back().lastIndex = std::int32_t(entries.size()) - 1;
      tuplets.push_back(open.back());
      open.pop_back();
    }
  }
  if (!open.empty()) {
    _error = "tuplet not closed";
    return false;
  }
  // Outer tuplets first, as they open: they are the lower incis of a shared first entry.
  std::stable_sort(tuplets.begin(), tuplets.end(), [](const PendingTuplet& a, const PendingTuplet& b) {
    return a.firstIndex < b.firstIndex || (a.firstIndex == b.firstIndex && a.lastIndex > b.lastIndex);
  });
  PlaceEntries(entries, tuplets);

  std::vector<EXENTRY> records;
  for (const ParsedEntry& parsed : entries) records.push_back(parsed.entry);
  _document.SetEntries(place, std::move(records));
  for (const PendingTuplet& tuplet : tuplets) _document.AddTuplet(EntryPlace{place, tuplet.firstIndex}, tuplet.ratio);
  for (std::size_t i = 0; i < entries.size(); ++i)
    for (ArticulationKind kind : entries[i].marks)
      _document.AddArticulation(std::int32_t(_document.Entries(place)[i].entryNumber),
                                _document.ArticulationDefinition(kind));
  return true;
}

std::string ScoreBuilder::Describe(std::int16_t staff, std::int16_t measure, std::int16_t userLayer) const {
  const std::vector<EXENTRY>& entries = Entries(staff, measure, userLayer);
  const std::vector<TupletInfo> tuplets = _document.TupletItems(entries);
  const std::uint16_t key = _document.GetKey(measure);
  std::string text;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const EXENTRY& entry = entries[i];
    for (const TupletInfo& item : tuplets)
      if (item.firstEntry == std::int16_t(i)) {
        const TupletRatio ratio = ReadTupletRatio(item.tuplet);
        text += "{" + std::to_string(ratio.actualCount) + ":" + std::to_string(ratio.normalCount) + "/" +
                ValueOfDuration(ratio.actualUnit) + " ";
      }
    if ((entry.flags & kEntryGraceFlag) != 0) text += 'g';
    if ((entry.flags & kEntryNoteFlag) == 0) {
      text += 'r';
    } else {
      for (std::int16_t n = 0; n < entry.noteCount && n < kMaxEntryNotes; ++n) {
        if (n > 0) text += '-';
        text += PitchText(PitchFromNote(entry.notes[n], key));
        if ((entry.notes[n].flags & kNoteTieFlag) != 0) text += '~';
      }
    }
    const std::string value = ValueOfDuration(entry.duration);
    text += "/" + (value.empty() ? "[" + std::to_string(entry.duration) + "]" : value);
    std::string marks;
    for (std::int16_t definition : _document.Articulations(std::int32_t(entry.entryNumber))) {
      const ArticulationKind kind = _document.ArticulationKindOfDefinition(definition);
      char letter = '?';
      for (const MarkRow& row : kMarks)
        if (row.kind == kind) letter = row.letter;
      marks += letter;
    }
    if (!marks.empty()) text += "@" + marks;
    for (const TupletInfo& item : tuplets)
      if (item.lastEntry == std::int16_t(i)) text += '}';
    text += ' ';
  }
  if (!text.empty()) text.pop_back();
  return text;
}

std::int32_t ScoreBuilder::EntryNumber(std::int16_t staff, std::int16_t measure, std::int16_t userLayer,
                                       std::int32_t index) const {
  const std::vector<EXENTRY>& entries = Entries(staff, measure, userLayer);
  if (index < 0 || std::size_t(index) >= entries.size()) return 0;
  return std::int32_t(entries[std::size_t(index)].entryNumber);
}

const std::vector<EXENTRY>& ScoreBuilder::Entries(std::int16_t staff, std::int16_t measure,
                                                  std::int16_t userLayer) const {
  return _document.Entries(LayerPlace{staff, measure, std::int16_t(userLayer - 1)});
}

}  // namespace simhost
