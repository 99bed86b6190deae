# The texts that state the version by hand agree with project(): the top entry
# of debian/changelog, which names the package, and the package file names in
# the README.   cmake -DVERSION=<version> -DSOURCE=<source dir> -P version.cmake
file(STRINGS ${SOURCE}/debian/changelog top LIMIT_COUNT 1)
if(NOT top MATCHES "^tumblara \\(([^)]+)\\) ")
  message(FATAL_ERROR "debian/changelog does not begin with an entry for tumblara: ${top}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "debian/changelog is at ${CMAKE_MATCH_1}, the project at ${VERSION}")
endif()

file(READ ${SOURCE}/README.md readme)
string(REGEX MATCHALL "tumblara_[0-9A-Za-z.+~-]+_" named "${readme}")
if(NOT named)
  message(FATAL_ERROR "the README names no package file")
endif()
foreach(name IN LISTS named)
  if(NOT name STREQUAL "tumblara_${VERSION}_")
    message(FATAL_ERROR "the README names ${name}, the project is at ${VERSION}")
  endif()
endforeach()
