list(APPEND TONAROFRAMEWORK_SOURCES
  entries/pknote.cpp
  entries/pknotepitches.cpp
  entries/pknoteentry.cpp
  entries/pknoteentrycollection.cpp
  entries/pknoteentrylayer.cpp
  entries/pktuplet.cpp
  entries/pkarticulation.cpp
  entries/pkentrydetailnoteid.cpp
)
