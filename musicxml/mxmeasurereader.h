// Reads the children of one <measure> into the model: events from notes,
// backup and forward resolved into positions, other elements kept at their
// positions, and the attributes that carry on into the next measures.
#pragma once

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "musicxml/mxmeasure.h"
#include "musicxml/mxresult.h"
#include "musicxml/mxscore.h"

namespace musicxml {

// A clef that takes effect inside a measure, in document order.
struct MxClefChange {
  std::int32_t staff = 1;
  MxFraction position;
  std::int32_t item = 0;  // index of its attributes item in the measure
  MxClef clef;
};

// What a part carries from one measure into the next.
struct MxPartState {
  std::int32_t divisions = 1;  // MusicXML's default when a part never gives one
  std::vector<MxKey> keys;     // per staff
  std::vector<MxClef> clefs;   // per staff
  MxTime time;
  std::int32_t staves = 1;
};

class MxMeasureReader {
 public:
  MxMeasureReader(const MxScore& score, MxPartState* state, std::vector<std::int32_t>* divisionsUsed);

  // Fills `measure` from the element and notes the clef changes met; on a
  // value the format forbids or the host cannot hold, answers why and where.
  MxResult Read(pugi::xml_node element, MxMeasure* measure, std::vector<MxClefChange>* clefChanges);

 private:
  MxResult Fail(MxStatus status, const std::string& description, pugi::xml_node where) const;
  MxResult ReadDuration(pugi::xml_node owner, MxFraction* duration) const;
  MxResult ReadAttributes(pugi::xml_node element, std::int32_t item, std::vector<MxClefChange>* clefChanges);
  MxResult ReadKey(pugi::xml_node key);
  MxResult ReadTime(pugi::xml_node time);
  MxResult ReadClef(pugi::xml_node clef, std::int32_t item, std::vector<MxClefChange>* clefChanges);
  MxResult ReadNote(pugi::xml_node element, MxNote* note, MxEvent* event, bool* chord) const;
  MxResult AddNote(pugi::xml_node element);
  void Advance(const MxFraction& amount);
  void GrowStaves(std::int32_t staves);

  const MxScore& _score;
  MxPartState* _state;
  std::vector<std::int32_t>* _divisionsUsed;
  MxMeasure* _measure = nullptr;
  MxFraction _cursor;
  std::int32_t _lastEvent = -1;  // the event a <chord/> note joins
};

}  // namespace musicxml
