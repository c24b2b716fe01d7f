list(APPEND TONAROFRAMEWORK_SOURCES
  foundation/pkbase.cpp
  foundation/pkiteratorhandler.cpp
  foundation/pkcollection.cpp
  foundation/pkstring.cpp
)
