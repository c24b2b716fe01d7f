list(APPEND TONAROFRAMEWORK_SOURCES
  score/pkmusicregion.cpp
)
