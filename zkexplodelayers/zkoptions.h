// The plug-in family's shared settings files in the host's settings folder.
#pragma once

class PKSettingsPairs;

// Settings file names, in the host's settings folder.
constexpr const char* kZKOptionsFileName = "zkpluginoptions.txt";
constexpr const char* kZKPrefsFileName = "zkpluginprefs.txt";

// Answers every key=value pair of the options file (prefs false) or the
// preferences file (prefs true), in file order, as a new collection the
// caller owns; null when the file cannot be opened.
PKSettingsPairs* LoadAllZKOptionsPairs(bool prefs);

// Answers whether two byte texts are equal regardless of ASCII letter case.
bool ZKEqualIgnoringCase(const char* a, const char* b);
