list(APPEND TONAROFRAMEWORK_SOURCES
  score/pkmusicregion.cpp
  score/pkkeysignature.cpp
  score/pktimesignature.cpp
  score/pkmeasure.cpp
)
