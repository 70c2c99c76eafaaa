# Fails when a file of the core names a Qt or shell header: the core is
# standard C++ and must build and run without either.
#   cmake -DSOURCE_LIST=<file naming one source per line> -DSTAMP=<file> -P CheckCoreIncludes.cmake
file(STRINGS "${SOURCE_LIST}" _sources)
set(_bad "")
foreach(_file IN LISTS _sources)
  file(STRINGS "${_file}" _lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q|gui/|qt)")
  foreach(_line IN LISTS _lines)
    string(APPEND _bad "\n  ${_file}: ${_line}")
  endforeach()
endforeach()
if(_bad)
  message(FATAL_ERROR "The core must not include Qt or shell headers:${_bad}")
endif()
file(TOUCH "${STAMP}")
