// The export of layers the command changed: a chord split over layers, done
// here on the host's document as the command does it, comes out as voices
// of their own, the chord's markings staying with layer 1.
#include <gtest/gtest.h>

#include <algorithm>

#include "musicxml/mxeventlist.h"
#include "musicxml/mxhostexport.h"
#include "musicxml/mxhostimport.h"
#include "musicxml/mxreader.h"
#include "musicxml/mxwriter.h"
#include "tests/musicxml/scoretext.h"

namespace {

using musicxml::MxEventList;
using musicxml::MxScore;
using testsupport::Note;

std::string Chord(const std::string& extra) {
  return Note("C5", 4, "quarter", 1, extra) +
         "<note><chord/><pitch><step>E</step><octave>5</octave></pitch><duration>4</duration><voice>1</voice>"
         "<type>quarter</type><notations><articulations><accent/></articulations></notations></note>"
         "<note><chord/><pitch><step>G</step><octave>5</octave></pitch><duration>4</duration><voice>1</voice>"
         "<type>quarter</type><accidental>natural</accidental></note>";
}

// Splits every chord of layer 1 as the command does: layer 1 keeps the highest
// note, layer k the k-th highest, rests where a chord has fewer notes.
void SplitLayerOne(simhost::Document* document, std::int16_t staff, std::int16_t measure, std::int16_t layers) {
  const simhost::LayerPlace first{staff, measure, 0};
  std::vector<EXENTRY> source = document->Entries(first);
  for (std::int16_t layer = layers - 1; layer >= 1; --layer) {
    std::vector<EXENTRY> clone = source;
    for (std::size_t i = 0; i < clone.size(); ++i) {
      clone[i].entryNumber = 0;
      EXENTRY& from = source[i];
      if ((from.flags & kEntryNoteFlag) == 0) continue;
      if (layer < from.noteCount) {
        // The lowest note left moves to this layer.
        std::int16_t lowest = 0;
        for (std::int16_t n = 1; n < from.noteCount; ++n)
          if (from.notes[n].displacement < from.notes[lowest].displacement) lowest = n;
        clone[i].noteCount = 1;
        clone[i].notes[0] = from.notes[lowest];
        clone[i].notes[0].noteID = 1;
        for (std::int16_t n = lowest; n + 1 < from.noteCount; ++n) from.notes[n] = from.notes[n + 1];
        --from.noteCount;
      } else {
        clone[i].noteCount = 0;
        clone[i].flags &= ~std::uint32_t(kEntryNoteFlag);
      }
    }
    ASSERT_TRUE(document->SetEntries(simhost::LayerPlace{staff, measure, layer}, clone));
  }
  std::vector<EXENTRY> kept = document->Entries(first);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    kept[i].noteCount = source[i].noteCount;
    std::copy(std::begin(source[i].notes), std::end(source[i].notes), std::begin(kept[i].notes));
  }
  ASSERT_TRUE(document->SetEntries(first, kept));
}

TEST(MxHostExport, WritesASplitChordAsVoicesWithItsMarkingsOnLayerOne) {
  const std::string measure =
      "<direction><direction-type><words>dolce</words></direction-type></direction>" +
      Chord("<notations><slur type=\"start\"/><articulations><staccato/></articulations></notations>"
            "<lyric><text>la</text></lyric>") +
      "<direction><direction-type><dynamics><p/></dynamics></direction-type></direction>" +
      Note("D5", 4, "quarter", 1, "<notations><slur type=\"stop\"/></notations>") + Note("rest", 8, "half");
  MxScore score;
  ASSERT_TRUE(musicxml::MxReader::ReadMemory(testsupport::ScoreWith(measure), "split.musicxml", &score));
  const std::vector<std::string> notesBefore = MxEventList::NotesWithoutLayers(score);
  simhost::Document document;
  musicxml::MxHostBinding binding;
  ASSERT_TRUE(musicxml::MxHostImport::Import(score, 4, &document, &binding));
  SplitLayerOne(&document, 1, 1, 3);
  EXPECT_FALSE(musicxml::MxHostExport::IsUnchanged(document, binding, 1, 1));
  ASSERT_TRUE(musicxml::MxHostExport::Export(document, binding, &score));
  std::string text;
  ASSERT_TRUE(musicxml::MxWriter::WriteText(score, &text));
  MxScore after;
  ASSERT_TRUE(musicxml::MxReader::ReadMemory(text, "after.musicxml", &after));
  EXPECT_EQ("", MxEventList::Compare(notesBefore, MxEventList::NotesWithoutLayers(after)));

  const auto& events = after.parts[0].measures[0].events;
  std::vector<std::string> layers(3);
  for (const auto& event : events) {
    ASSERT_GE(event.layer, 1);
    ASSERT_LE(event.layer, 3);
    EXPECT_EQ(event.layer, event.voice) << "layer L of staff 1 is voice L";
    std::string& line = layers[std::size_t(event.layer - 1)];
    line += event.rest ? "r " : std::string(1, event.notes[0].pitch.step) + " ";
    if (event.layer != 1)
      for (const auto& note : event.notes) {
        EXPECT_FALSE(note.source.child("lyric"));
        for (pugi::xml_node notations : note.source.children("notations")) {
          EXPECT_FALSE(notations.child("slur"));
          EXPECT_FALSE(notations.child("articulations"));
        }
      }
  }
  EXPECT_EQ("G D r ", layers[0]);
  EXPECT_EQ("E r r ", layers[1]);
  EXPECT_EQ("C r r ", layers[2]);
  // Layer 1's G carries the chord's slur, staccato, lyric, and the accent that was on E; E keeps no accent.
  EXPECT_NE(std::string::npos, text.find("<staccato />"));
  const std::size_t g = text.find("<step>G</step>");
  const std::size_t nextNote = text.find("</note>", g);
  const std::string gNote = text.substr(g, nextNote - g);
  EXPECT_NE(std::string::npos, gNote.find("<slur type=\"start\" />")) << gNote;
  EXPECT_NE(std::string::npos, gNote.find("<accent />")) << gNote;
  EXPECT_NE(std::string::npos, gNote.find("<text>la</text>")) << gNote;
  EXPECT_NE(std::string::npos, gNote.find("<accidental>natural</accidental>")) << gNote;
  EXPECT_EQ(text.find("<accent />"), text.rfind("<accent />")) << "the accent is written once";
  // The directions keep their positions.
  std::vector<std::string> elements;
  for (const auto& line : MxEventList::Of(after))
    if (line.find("<direction>") != std::string::npos) elements.push_back(line.substr(0, line.find(" <")));
  EXPECT_EQ((std::vector<std::string>{"P1 m1 @0", "P1 m1 @1"}), elements);
}

}  // namespace
