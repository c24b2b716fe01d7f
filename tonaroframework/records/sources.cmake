list(APPEND TONAROFRAMEWORK_SOURCES
  records/pkbasedata.cpp
  records/pkother.cpp
  records/pkdetail.cpp
  records/pkentrydetail.cpp
  records/pkglobals.cpp
  records/pkcollectiondata.cpp
  records/pkbrowserbase.cpp
)
