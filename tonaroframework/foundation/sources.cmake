list(APPEND TONAROFRAMEWORK_SOURCES
  foundation/pkbase.cpp
)
