# Runs clang-tidy over the portable core (cmake -P this file):
#   -DCLANG_TIDY=<program> -DBUILD_DIR=<native build> -DSOURCE_LIST=<file, one source a line>
# The build's compile_commands.json is g++'s: it turns literals into code
# page 932 with -fexec-charset=CP932, which clang refuses (it knows only
# UTF-8). clang-tidy gets a database of its own with one entry per source and
# without the charset flags; the checked code does not depend on the literals'
# bytes.
cmake_minimum_required(VERSION 3.20)

foreach(var CLANG_TIDY BUILD_DIR SOURCE_LIST)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "clang_tidy.cmake: ${var} is not set")
  endif()
endforeach()
if(NOT EXISTS "${CLANG_TIDY}")
  message(FATAL_ERROR "clang-tidy not found: run scripts/bootstrap")
endif()
file(STRINGS "${SOURCE_LIST}" SOURCES)

file(READ "${BUILD_DIR}/compile_commands.json" database)
string(JSON count LENGTH "${database}")
math(EXPR last "${count} - 1")

set(entries "")
set(seen "")
foreach(i RANGE ${last})
  string(JSON file GET "${database}" ${i} file)
  # Each source is compiled more than once (with and without sanitizers):
  # one command per source is enough.
  if(NOT file IN_LIST SOURCES OR file IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${file}")
  string(JSON entry GET "${database}" ${i})
  string(JSON command GET "${entry}" command)
  string(REGEX REPLACE " -f(exec|input)-charset=[^ ]+" "" command "${command}")
  # Back into a JSON string.
  string(REPLACE "\\" "\\\\" command "${command}")
  string(REPLACE "\"" "\\\"" command "${command}")
  string(JSON entry SET "${entry}" command "\"${command}\"")
  if(entries STREQUAL "")
    set(entries "${entry}")
  else()
    string(APPEND entries ",\n${entry}")
  endif()
endforeach()

foreach(file IN LISTS SOURCES)
  if(NOT file IN_LIST seen)
    message(FATAL_ERROR "clang_tidy.cmake: no compile command for ${file}")
  endif()
endforeach()

set(tidy_dir "${BUILD_DIR}/clang-tidy")
file(MAKE_DIRECTORY "${tidy_dir}")
file(WRITE "${tidy_dir}/compile_commands.json" "[\n${entries}\n]\n")

# The checks and the header filter come from the .clang-tidy file at the root.
execute_process(
  COMMAND "${CLANG_TIDY}" -p "${tidy_dir}" --quiet ${SOURCES}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "clang-tidy reported findings (exit code ${result})")
endif()
