// The substitute host's score: staves in score order, measures with their
// time signatures and keys, the clef each staff starts each measure with, and
// for every staff, measure and layer the stored entry records (EXENTRY) with
// the records attached to them (tuplets, articulations, smart shapes). The
// frame, record and region services answer from one Document; the MusicXML
// reader and writer and the tests build and read it through this interface.
//
// Conventions:
// - Staves are named by their staff (instrument) number, 1 and up, and placed
//   by their slot, 1 and up, in staff list 0 (the score order). Further staff
//   lists (1 and up) can be defined; HK_SlotToInst/HK_InstToSlot read them.
// - Measures are numbered from 1. Layers here are host layer indexes from 0
//   (0 is the user's layer 1).
// - Durations and positions are host time units, 1024 to the quarter note.
// - Measures and staves are also kept as host records in Records() (measure
//   records "SOMS", staff records "SOIS", frame holds "SDGF" with the clef),
//   so that what the library reads and writes through the record services and
//   what this interface answers are the same thing.
// - Stored entries always have an entry number (unique in the document);
//   SetEntries gives one to every entry that has 0. The host stores an
//   entry's measure position (offset 0x88) as it is given: it never
//   recomputes positions.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "simhost/hostmeaning.h"
#include "simhost/recordstore.h"
#include "tonaropdk/eregion.h"
#include "tonaropdk/exentry.h"
#include "tonaropdk/extgf.h"

namespace simhost {

// A time signature as the measure record holds it: beats of beatDuration units.
struct TimeSignature {
  std::int16_t beats = 4;
  std::int16_t beatDuration = kQuarterNote;

  // Answers the measure length it gives (beats x beat duration).
  std::int32_t Duration() const { return std::int32_t(beats) * beatDuration; }
  bool operator==(const TimeSignature& other) const {
    return beats == other.beats && beatDuration == other.beatDuration;
  }
};

// One cell layer: staff number, measure, layer index.
struct LayerPlace {
  std::int16_t staff = 0;
  std::int16_t measure = 0;
  std::int16_t layer = 0;

  bool operator<(const LayerPlace& other) const {
    return std::tie(staff, measure, layer) < std::tie(other.staff, other.measure, other.layer);
  }
  bool operator==(const LayerPlace& other) const {
    return staff == other.staff && measure == other.measure && layer == other.layer;
  }
};

// Where a stored entry lies: its layer and its index in that layer's entries.
struct EntryPlace {
  LayerPlace layer;
  std::int32_t index = -1;
};

// A smart shape attached to two entries, as AddSlur makes and EntryShapes reads.
struct EntryShape {
  std::uint16_t number = 0;      // the shape record's item number
  std::int16_t type = 0;         // SmartShapeType
  std::int32_t startEntry = 0;   // entry numbers of its two ends
  std::int32_t endEntry = 0;
};

class Document {
 public:
  // An empty score (no staves, no measures) with the host's clef definitions.
  Document();

  // ---- Staves ----------------------------------------------------------

  // Adds a staff at the end of the score order, with the given staff number
  // (0: one more than the largest so far). Writes its staff record. Answers the
  // staff number, or 0 when the number is taken or not positive.
  std::int16_t AddStaff(std::int16_t staff = 0);
  // Answers whether the staff exists.
  bool HasStaff(std::int16_t staff) const;
  // Answers the number of staves.
  std::int16_t StaffCount() const { return std::int16_t(_scoreOrder.size()); }
  // Answers the staves in score order (slot 1 first): staff list 0.
  const std::vector<std::int16_t>& ScoreOrder() const { return _scoreOrder; }
  // Reorders the score; false (nothing changed) unless `staves` holds every staff once.
  bool SetScoreOrder(const std::vector<std::int16_t>& staves);
  // Defines staff list `list` (1 and up) as these existing staves in this order;
  // false for list 0 or an unknown staff.
  bool SetStaffList(std::uint16_t list, const std::vector<std::int16_t>& staves);
  // Answers the staff at a slot (from 1) of a staff list; 0 when there is none.
  std::int16_t SlotToStaff(std::int16_t slot, std::uint16_t list = 0) const;
  // Answers the slot (from 1) of a staff in a staff list; 0 when it is not in it.
  std::int16_t StaffToSlot(std::int16_t staff, std::uint16_t list = 0) const;

  // ---- Measures --------------------------------------------------------

  // Appends a measure and writes its measure record. Answers its number.
  std::int16_t AddMeasure(TimeSignature time = TimeSignature(), std::uint16_t key = 0);
  // Appends `count` measures alike; answers the number of the last one (0 for count <= 0).
  std::int16_t AddMeasures(std::int16_t count, TimeSignature time = TimeSignature(), std::uint16_t key = 0);
  // Answers the number of measures.
  std::int16_t MeasureCount() const { return _measureCount; }
  // Changes a measure's time signature in its record; false for an unknown measure.
  bool SetTimeSignature(std::int16_t measure, TimeSignature time);
  // Answers a measure's time signature as its record holds it (4/4 when unknown).
  TimeSignature GetTimeSignature(std::int16_t measure) const;
  // Changes a measure's key value (host encoding, see pitch.h); false for an unknown measure.
  bool SetKey(std::int16_t measure, std::uint16_t key);
  // Answers the key value of a measure's record (0, C major, when unknown).
  std::uint16_t GetKey(std::int16_t measure) const;
  // Answers a measure's length on a staff (beats x beat duration of its
  // record); 0 for an unknown staff or measure.
  std::int32_t MeasureDuration(std::int16_t staff, std::int16_t measure) const;

  // ---- Clefs -----------------------------------------------------------

  // Makes the staff start the measure (and, until the next SetClef, the
  // following measures) with clef `clef` (a ClefIndex). Writes the cell's frame
  // hold. False for an unknown staff or measure.
  bool SetClef(std::int16_t staff, std::int16_t measure, std::int16_t clef);
  // Answers the clef the staff starts the measure with: that of the nearest
  // SetClef at or before the measure; treble when none.
  std::int16_t ClefAt(std::int16_t staff, std::int16_t measure) const;

  // ---- Entries ---------------------------------------------------------

  // Answers whether staff, measure and layer index (0 and up) name a cell layer.
  bool IsValidLayer(const LayerPlace& place) const;
  // Answers the stored entries of a cell layer, in time order (empty when none
  // or when the place is not valid).
  const std::vector<EXENTRY>& Entries(const LayerPlace& place) const;
  const std::vector<EXENTRY>& Entries(std::int16_t staff, std::int16_t measure, std::int16_t layer) const {
    return Entries(LayerPlace{staff, measure, layer});
  }
  // Replaces the stored entries of a cell layer; entries with entry number 0
  // get new numbers. Records attached to entries that are no longer stored
  // stay in the record store. False, nothing stored, for an invalid place.
  bool SetEntries(const LayerPlace& place, std::vector<EXENTRY> entries);
  // Changes one stored entry in place (its entry number is kept); false when
  // the place names no stored entry.
  bool UpdateEntry(const EntryPlace& place, const EXENTRY& entry);
  // Answers where the stored entry with that number lies; false when none does.
  bool FindEntry(std::int32_t entryNumber, EntryPlace* place) const;
  // Answers the stored entry with that number, or null.
  const EXENTRY* EntryByNumber(std::int32_t entryNumber) const;
  // Answers a new entry number, never handed out before in this document.
  std::int32_t NewEntryNumber() { return ++_lastEntryNumber; }
  // Answers every cell layer that holds at least one entry, ordered by staff, measure, layer.
  std::vector<LayerPlace> FilledLayers() const;

  // ---- Tuplets ---------------------------------------------------------

  // Adds a tuplet starting at a stored entry: saves a tuplet record (ratio in
  // its host bytes, see hostmeaning.h) under the entry's number with the next
  // free inci and sets the entry's tuplet flag. Answers the inci, or -1 for a
  // place without a stored entry or an invalid ratio.
  std::int16_t AddTuplet(const EntryPlace& first, const TupletRatio& ratio);
  // Answers the tuplet items the host gives a frame of these entries: one per
  // tuplet record of every entry whose tuplet flag is set, in entry order and
  // inci order; its last entry is where the written durations from its first
  // entry reach the tuplet's written span (the frame's last entry at most), a
  // tuplet nested in it counting with its elapsed span. A tuplet nested at the
  // same first entry has a higher inci.
  std::vector<TupletInfo> TupletItems(const std::vector<EXENTRY>& entries) const;
  // Answers the time the entries take: written durations, tuplets taking their
  // elapsed span, grace notes (flag 0x00800000) taking none.
  static std::int32_t ElapsedDuration(const std::vector<EXENTRY>& entries, const std::vector<TupletInfo>& tuplets);

  // ---- Articulations -----------------------------------------------------

  // Answers the item number of the articulation definition of that kind,
  // creating the definition when the document has none.
  std::int16_t ArticulationDefinition(ArticulationKind kind);
  // Answers what the articulation definition with that item number stands for
  // (kOther when there is none).
  ArticulationKind ArticulationKindOfDefinition(std::int16_t definition) const;
  // Attaches an articulation (definition item number) to the stored entry with
  // that number: saves an articulation record with the next free inci and sets
  // the entry's articulation flag. Answers the inci, or -1 when no entry has that number.
  std::int16_t AddArticulation(std::int32_t entryNumber, std::int16_t definition);
  // Answers the definition numbers of an entry's articulations, inci 0, 1, ...
  // until the first missing inci.
  std::vector<std::int16_t> Articulations(std::int32_t entryNumber) const;

  // ---- Smart shapes ------------------------------------------------------

  // Adds a smart shape of `type` from one stored entry to another (in the same
  // or a later measure of one staff): the shape record, a measure mark in every
  // measure it spans, a centre shape for every measure strictly between, entry
  // marks on both entries (setting their smart-shape flags) and the measures'
  // smart-shape flag. Answers the shape number, or 0 when an entry is missing.
  std::uint16_t AddSlur(std::int32_t startEntry, std::int32_t endEntry, std::int16_t type = kShapeSlurAuto);
  // Answers every smart shape attached to entries, by shape number.
  std::vector<EntryShape> EntryShapes() const;

  // ---- Regions -----------------------------------------------------------

  // Answers the region of the whole document: staff list 0, slots 1 to the
  // staff count, measures 1 to the measure count, positions 0 to the end
  // (all zero when the document has no staff or no measure).
  EREGION WholeDocument() const;
  // Answers the current selection (all zero until one is set: empty).
  const EREGION& Selection() const { return _selection; }
  // Makes a region the current selection.
  void SetSelection(const EREGION& region) { _selection = region; }
  // Answers a region of whole measures over slots and measures (staff list 0).
  static EREGION MakeRegion(std::int16_t firstSlot, std::int16_t lastSlot, std::int16_t firstMeasure,
                            std::int16_t lastMeasure, std::int32_t startPos = 0,
                            std::int32_t endPos = kEndOfMeasure);

  // ---- Records -----------------------------------------------------------

  // The document's records by tag and key (see recordstore.h).
  RecordStore& Records() { return _records; }
  const RecordStore& Records() const { return _records; }

 private:
  void WriteMeasureRecord(std::int16_t measure, TimeSignature time, std::uint16_t key);
  void WriteFrameHold(std::int16_t staff, std::int16_t measure, std::int16_t clef);
  std::vector<EXENTRY>* StoredEntries(const LayerPlace& place);
  bool TupletRatioAt(const EXENTRY& entry, std::int16_t inci, TupletRatio* ratio) const;
  std::size_t TupletEnd(const std::vector<EXENTRY>& entries, std::size_t first, std::int16_t inci) const;

  std::vector<std::int16_t> _scoreOrder;
  std::map<std::uint16_t, std::vector<std::int16_t>> _staffLists;  // lists 1 and up
  std::int16_t _measureCount = 0;
  std::map<std::pair<std::int16_t, std::int16_t>, std::int16_t> _clefChanges;  // (staff, measure) -> clef
  std::map<LayerPlace, std::vector<EXENTRY>> _layers;
  std::int32_t _lastEntryNumber = 0;
  EREGION _selection{};
  RecordStore _records;
};

}  // namespace simhost
