list(APPEND TONAROFRAMEWORK_SOURCES
  utilities/pkfilestream.cpp
  utilities/pktextfilestream.cpp
  utilities/pktextfileutf8stream.cpp
  utilities/pksettingspair.cpp
)
