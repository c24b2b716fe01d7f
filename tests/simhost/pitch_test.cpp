// Key-relative note records: displacement from the key's tonic in the octave
// from middle C up, raise/lower relative to the signature.
#include "simhost/pitch.h"

#include <gtest/gtest.h>

namespace {

using simhost::MakeKeyValue;

TEST(Pitch, WrittenPitchesBecomeKeyRelativeNotesAndBack) {
  struct Case {
    const char* pitch;
    std::uint16_t key;
    std::int16_t displacement;
    std::int16_t raiseLower;
  };
  const Case cases[] = {
      {"C4", MakeKeyValue(0), 0, 0},    {"D4", MakeKeyValue(0), 1, 0},    {"B3", MakeKeyValue(0), -1, 0},
      {"F#4", MakeKeyValue(0), 3, 1},   {"C5", MakeKeyValue(0), 7, 0},    {"Bb2", MakeKeyValue(0), -8, -1},
      {"G4", MakeKeyValue(1), 0, 0},    {"F#4", MakeKeyValue(1), -1, 0},  {"F4", MakeKeyValue(1), -1, -1},
      {"C4", MakeKeyValue(1), -4, 0},   {"Bb4", MakeKeyValue(-2), 0, 0},  {"B4", MakeKeyValue(-2), 0, 1},
      {"Eb4", MakeKeyValue(-2), -4, 0}, {"A4", MakeKeyValue(0, true), 0, 0}, {"G#4", MakeKeyValue(0, true), -1, 1},
      {"C##4", MakeKeyValue(0), 0, 2},  {"Cb5", MakeKeyValue(-7), 0, 0},  {"Cb4", MakeKeyValue(-7), -7, 0},
  };
  for (const Case& c : cases) {
    simhost::Pitch pitch;
    ASSERT_TRUE(simhost::ParsePitch(c.pitch, &pitch)) << c.pitch;
    const EXNOTE note = simhost::NoteFromPitch(pitch, c.key);
    EXPECT_EQ(note.displacement, c.displacement) << c.pitch << " in key " << c.key;
    EXPECT_EQ(note.raiseLower, c.raiseLower) << c.pitch << " in key " << c.key;
    EXPECT_EQ(simhost::PitchText(simhost::PitchFromNote(note, c.key)), c.pitch);
  }
}

TEST(Pitch, KeysAreTheHostsEncoding) {
  EXPECT_EQ(MakeKeyValue(0), 0x0000);
  EXPECT_EQ(MakeKeyValue(3), 0x0003);
  EXPECT_EQ(MakeKeyValue(-2), 0x00FE);
  EXPECT_EQ(MakeKeyValue(0, true), 0x0100);
  EXPECT_EQ(MakeKeyValue(-1, true), 0x01FF);
  EXPECT_EQ(simhost::KeyTonicSteps(0x0100), 5);  // A minor
  EXPECT_EQ(simhost::KeyTonicSteps(0x00F9), 7);  // C flat major counts its tonic an octave up
  EXPECT_EQ(simhost::KeyTonicSteps(0x4003), 0);  // not standard: read as C major
  EXPECT_EQ(simhost::KeyAlterationOf(MakeKeyValue(2), 'C'), 1);
  EXPECT_EQ(simhost::KeyAlterationOf(MakeKeyValue(2), 'G'), 0);
  EXPECT_EQ(simhost::KeyAlterationOf(MakeKeyValue(-2), 'E'), -1);
  EXPECT_EQ(simhost::KeyAlterationOf(MakeKeyValue(-2), 'A'), 0);
}

TEST(Pitch, ParsingRefusesWhatIsNoPitch) {
  simhost::Pitch pitch{'D', 1, 2};
  for (const char* text : {"", "H4", "c4", "C", "C#", "C4x", "4", "Cb"}) {
    EXPECT_FALSE(simhost::ParsePitch(text, &pitch)) << text;
    EXPECT_EQ(pitch, (simhost::Pitch{'D', 1, 2}));
  }
}

}  // namespace
