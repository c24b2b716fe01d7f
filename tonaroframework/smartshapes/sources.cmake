list(APPEND TONAROFRAMEWORK_SOURCES
  smartshapes/pksmartshape.cpp
)
