// What the substitute host makes of the bytes that the library carries as
// "the host's": where a tuplet keeps its ratio, which articulation definition
// is which mark, which smart-shape types are slurs, where each clef puts
// middle C, and the record tags the host keeps. Everything the host knows
// about these bytes is here and nowhere else.
#pragma once

#include <cstdint>
#include <cstring>

#include "tonaropdk/extgf.h"
#include "tonaropdk/hostabi.h"

namespace simhost {

// Host time units: 1024 to the quarter note.
constexpr std::int32_t kQuarterNote = 1024;

// Record tags the host keeps (four characters, most significant byte first).
namespace tags {
constexpr EXTAG kMeasure = MakeTag('S', 'O', 'M', 'S');           // measure record, 26 bytes, key (measure, 0)
constexpr EXTAG kStaff = MakeTag('S', 'O', 'I', 'S');             // staff record, 114 bytes, key (staff, 0)
constexpr EXTAG kCurrentStaffSpec = MakeTag('S', 'O', 'S', 'C');  // staff at a place: key (staff, measure, position)
constexpr EXTAG kSystemStaff = MakeTag('S', 'O', 'I', 'u');       // key (system, place): 16-bit staff number
constexpr EXTAG kClefDef = MakeTag('g', 'b', 'c', 'f');           // clef definition, 18 bytes, key (clef index)
constexpr EXTAG kFrameHold = MakeTag('S', 'D', 'G', 'F');         // cell frame hold, 10 bytes, key (staff, measure, 0)
constexpr EXTAG kIndependentCell = MakeTag('d', 't', 'F', 'L');   // independent signatures of a cell
constexpr EXTAG kChord = MakeTag('S', 'D', 'C', 'h');             // chord symbol, cell detail
constexpr EXTAG kMidiExpression = MakeTag('d', 't', 'M', 'E');    // MIDI expression, cell detail
constexpr EXTAG kTuplet = MakeTag('E', 3, 'T', 'P');              // EDTTuplet2005, 30 bytes, key (entry, inci)
constexpr EXTAG kArticulation = MakeTag('e', 'd', 'I', 'M');      // articulation, 10 bytes, key (entry, inci)
constexpr EXTAG kArticulationDef = MakeTag('O', 4, 'I', 'X');     // articulation definition, 48 bytes, key (item, 0)
constexpr EXTAG kSmartShape = MakeTag('O', 8, 'S', 'x');          // smart shape, 92 bytes, key (shape, 0)
constexpr EXTAG kShapeMeasureMark = MakeTag('o', 't', 'M', 'x');  // measure mark, 12 bytes, key (measure, inci)
constexpr EXTAG kShapeEntryMark = MakeTag('e', 'd', 'E', 'x');    // entry mark, 10 bytes, key (entry, inci)
constexpr EXTAG kDotMod = MakeTag('e', 'd', 'D', 'M');            // dot modification, 10 bytes, key (entry, inci)
constexpr EXTAG kCenterShape = MakeTag('D', 3, 'C', 'x');         // centre shape, 22 bytes, key (shape, inci, 0)
constexpr EXTAG kGroup = MakeTag('S', 'D', 'N', 'G');             // staff group, key (first, second, 0)
}  // namespace tags

// Record sizes the host uses for the records it writes itself.
constexpr std::int32_t kMeasureRecordSize = 26;
constexpr std::int32_t kStaffRecordSize = 114;
constexpr std::int32_t kClefDefSize = 18;
constexpr std::int32_t kFrameHoldSize = 10;
constexpr std::int32_t kArticulationSize = 10;
constexpr std::int32_t kArticulationDefSize = 48;
constexpr std::int32_t kSmartShapeSize = 92;
constexpr std::int32_t kShapeMeasureMarkSize = 12;
constexpr std::int32_t kShapeEntryMarkSize = 10;
constexpr std::int32_t kCenterShapeSize = 22;

// ---------------------------------------------------------------------------
// Tuplets. The host keeps a tuplet's ratio in the first eight bytes of
// EDTTuplet2005 (the bytes before the library's appearance word): `actualCount`
// notes of `actualUnit` take the time of `normalCount` notes of `normalUnit`.
// A triplet of eighths is {3, 512, 2, 512}. The tuplet starts at the entry it is
// keyed by and runs over the following entries of the frame until their
// written durations add up to actualCount x actualUnit.
struct TupletRatio {
  std::int16_t actualCount = 3;
  std::int16_t actualUnit = 512;
  std::int16_t normalCount = 2;
  std::int16_t normalUnit = 512;

  // Answers the written duration the tuplet spans (actualCount x actualUnit).
  std::int32_t WrittenSpan() const { return std::int32_t(actualCount) * actualUnit; }
  // Answers the time the tuplet takes in the measure (normalCount x normalUnit).
  std::int32_t ElapsedSpan() const { return std::int32_t(normalCount) * normalUnit; }
  // Answers whether the ratio can be applied (all four numbers positive).
  bool IsValid() const { return actualCount > 0 && actualUnit > 0 && normalCount > 0 && normalUnit > 0; }
  bool operator==(const TupletRatio& other) const {
    return actualCount == other.actualCount && actualUnit == other.actualUnit &&
           normalCount == other.normalCount && normalUnit == other.normalUnit;
  }
};

// Answers the ratio stored in a tuplet record.
inline TupletRatio ReadTupletRatio(const EDTTuplet2005& record) {
  std::int16_t words[4];
  std::memcpy(words, record.host00, sizeof(words));
  return TupletRatio{words[0], words[1], words[2], words[3]};
}

// Stores a ratio in a tuplet record; the other bytes are kept.
inline void WriteTupletRatio(EDTTuplet2005& record, const TupletRatio& ratio) {
  const std::int16_t words[4] = {ratio.actualCount, ratio.actualUnit, ratio.normalCount, ratio.normalUnit};
  std::memcpy(record.host00, words, sizeof(words));
}

// ---------------------------------------------------------------------------
// Articulation definitions. The host tells what an articulation definition
// stands for by its main symbol's character code (offset 0 of the 48-byte
// definition record) in the host's music font (font number 0).
enum class ArticulationKind {
  kStaccato,       // '.'
  kAccent,         // '>'
  kTenuto,         // '-'
  kStaccatissimo,  // '\''
  kMarcato,        // '^'
  kFermata,        // 'U'
  kOther,          // any other symbol
};

// Answers the main symbol character the host uses for a kind ('?' for kOther).
inline std::uint8_t ArticulationSymbol(ArticulationKind kind) {
  switch (kind) {
    case ArticulationKind::kStaccato: return '.';
    case ArticulationKind::kAccent: return '>';
    case ArticulationKind::kTenuto: return '-';
    case ArticulationKind::kStaccatissimo: return '\'';
    case ArticulationKind::kMarcato: return '^';
    case ArticulationKind::kFermata: return 'U';
    case ArticulationKind::kOther: break;
  }
  return '?';
}

// Answers what a definition record (at least 1 byte) stands for.
inline ArticulationKind ArticulationKindOf(const std::uint8_t* definition) {
  switch (definition[0]) {
    case '.': return ArticulationKind::kStaccato;
    case '>': return ArticulationKind::kAccent;
    case '-': return ArticulationKind::kTenuto;
    case '\'': return ArticulationKind::kStaccatissimo;
    case '^': return ArticulationKind::kMarcato;
    case 'U': return ArticulationKind::kFermata;
    default: return ArticulationKind::kOther;
  }
}

// ---------------------------------------------------------------------------
// Smart-shape types (offset 0 of the smart-shape record). The explode command
// turns types 0/1 into 15 and 8/9 into 16 on the shapes it copies: the host
// reads these as slurs with a fixed direction becoming slurs whose direction
// follows the layer.
enum SmartShapeType : std::int16_t {
  kShapeSlurDown = 0,
  kShapeSlurUp = 1,
  kShapeDecrescendo = 2,     // hairpin closing
  kShapeCrescendo = 3,       // hairpin opening
  kShapeTrill = 4,
  kShapeOctaveUp = 5,        // 8va
  kShapeDashedSlurDown = 8,
  kShapeDashedSlurUp = 9,
  kShapeSlurAuto = 15,       // direction follows the layer
  kShapeDashedSlurAuto = 16, // direction follows the layer
};

// Answers whether the host draws a shape of this type as a slur (solid or dashed).
inline bool IsSlurType(std::int16_t type) {
  return type == kShapeSlurDown || type == kShapeSlurUp || type == kShapeDashedSlurDown ||
         type == kShapeDashedSlurUp || type == kShapeSlurAuto || type == kShapeDashedSlurAuto;
}

// Offsets inside the 92-byte smart-shape record.
constexpr int kShapeTypeOffset = 0;        // 16-bit signed type
constexpr int kShapeFlagsOffset = 4;       // 16-bit flags; 0x4000: attached to entries
constexpr int kShapeStartOffset = 6;       // 30-byte start end point
constexpr int kShapeEndOffset = 36;        // 30-byte end end point
constexpr std::uint16_t kShapeEntryAttached = 0x4000;
// Inside an end point: staff (16-bit), measure (16-bit), entry number or position (32-bit).
constexpr int kEndPointStaff = 0;
constexpr int kEndPointMeasure = 2;
constexpr int kEndPointEntry = 4;

// ---------------------------------------------------------------------------
// Clefs. The host's clef definitions are global records numbered from 0; the
// first 16-bit field is the staff position (0: top line, -8: bottom line)
// where C major's displacement 0, middle C, sits under the clef.
enum ClefIndex : std::int16_t {
  kClefTreble = 0,      // G clef on line 2
  kClefAlto = 1,        // C clef on line 3
  kClefTenor = 2,       // C clef on line 4
  kClefBass = 3,        // F clef on line 4
  kClefPercussion = 4,  // drawn like the alto position
  kClefTreble8vb = 5,   // G clef, sounding an octave lower
  kClefBass8vb = 6,     // F clef, sounding an octave lower
  kClefTreble8va = 7,   // G clef, sounding an octave higher
  kClefCount = 8,
};

// Answers the staff position of middle C under a clef; 0 for an unknown index.
inline std::int16_t ClefMiddleCPosition(std::int16_t clef) {
  static const std::int16_t positions[kClefCount] = {-10, -4, -2, 2, -4, -3, 9, -17};
  return (clef >= 0 && clef < kClefCount) ? positions[clef] : 0;
}

// Bits of the measure record's aux flags (offset 8) the host sets.
constexpr std::uint16_t kMeasureCarriesSmartShapes = 0x2000;

}  // namespace simhost
