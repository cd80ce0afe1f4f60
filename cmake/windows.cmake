# Windows build: the program and the Windows tests, which run under Wine.
set(WIN32_LIBS comctl32 ole32 oleaut32 uuid shell32 shlwapi version gdi32 user32 kernel32)
set(STATIC_LINK -static -static-libgcc -static-libstdc++)
# What the toolchain file asks of this architecture (SSE2 for the 32-bit program).
add_compile_options(${TAVELIN_ARCH_OPTIONS})
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX)
# Two builds of one commit give the same program file wherever they are made:
# a __FILE__ names the source relative to the source folder (the link takes
# no time stamp either, below).
add_compile_options(-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=)

add_library(core STATIC ${TAVELIN_CORE_SOURCES})
tavelin_flags(core)
add_library(winlib STATIC ${TAVELIN_WIN_SOURCES})
tavelin_flags(winlib)
target_link_libraries(winlib PUBLIC core ${WIN32_LIBS})

# Resources: UTF-8 .rc files, Japanese texts compiled into code page 932.
set(CMAKE_RC_FLAGS "-c 932 -I${CMAKE_SOURCE_DIR}")
# One resource script; it includes the dialog and menu scripts of res/.
set(RES_FILES ${CMAKE_SOURCE_DIR}/res/tavelin.rc)
# The version resource's numbers and strings are the project's version.
set_source_files_properties(
  ${RES_FILES} PROPERTIES COMPILE_DEFINITIONS
  "TAVELIN_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};TAVELIN_VERSION_MINOR=${PROJECT_VERSION_MINOR};TAVELIN_VERSION_PATCH=${PROJECT_VERSION_PATCH}")

# The script includes the dialog and menu scripts, the icons and the ids; the
# test programs' copy (testres, below) is not rebuilt when only they change
# unless they are named.
file(GLOB RES_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc ${CMAKE_SOURCE_DIR}/res/*.ico
     ${CMAKE_SOURCE_DIR}/res/*.h)
set_source_files_properties(${RES_FILES} PROPERTIES OBJECT_DEPENDS "${RES_PARTS}")

add_executable(TAVELIN WIN32 ${CMAKE_SOURCE_DIR}/app/main_win.cpp ${RES_FILES})
tavelin_flags(TAVELIN)
target_link_libraries(TAVELIN PRIVATE winlib)
# No link time in the PE header: the header would differ from build to build.
target_link_options(TAVELIN PRIVATE ${STATIC_LINK} -mwindows -Wl,--no-insert-timestamp)

# Where the tests find the program they run and the project's scripts, and
# the version the program and the test programs carry in their resources.
set(TEST_PATHS TAVELIN_EXE="$<TARGET_FILE:TAVELIN>" TAVELIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
               TAVELIN_VERSION="${PROJECT_VERSION}")

# The Windows tests' helpers, compiled once and linked into every test
# program and the tree benchmark.
file(GLOB TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/support/*.cpp)
add_library(testsupport STATIC ${TEST_SUPPORT})
tavelin_flags(testsupport)
target_compile_definitions(testsupport PRIVATE ${TEST_PATHS})
target_link_libraries(testsupport PUBLIC winlib)

# The test executables get the program's resources too, so dialogs load from them.
add_library(testres OBJECT ${RES_FILES})
file(GLOB WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*_test.cpp)
file(GLOB GUI_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/gui/*_test.cpp)
foreach(src ${WIN_TESTS} ${GUI_TESTS})
  get_filename_component(name ${src} NAME_WE)
  get_filename_component(dir ${src} DIRECTORY)
  get_filename_component(kind ${dir} NAME)
  add_executable(${kind}_${name} ${src} $<TARGET_OBJECTS:testres>)
  tavelin_flags(${kind}_${name})
  target_compile_definitions(${kind}_${name} PRIVATE ${TEST_PATHS})
  target_link_libraries(${kind}_${name} PRIVATE testsupport gtest_main)
  target_link_options(${kind}_${name} PRIVATE ${STATIC_LINK})
  add_dependencies(${kind}_${name} TAVELIN)
  add_test(NAME ${kind}.${name} COMMAND ${kind}_${name})
  if(kind STREQUAL "gui")
    # Windows on one display: one GUI test at a time.
    set_tests_properties(${kind}.${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endforeach()

# The settings file on a non-Japanese system locale (Wine then uses code page 1252).
add_test(NAME win32.settings_win_test_other_locale
         COMMAND win32_settings_win_test --gtest_filter=AnyLocale.* --non-japanese-locale)
set_tests_properties(win32.settings_win_test_other_locale PROPERTIES
                     ENVIRONMENT TAVELIN_WINE_LOCALE=C.UTF-8)
# The dialogs' texts on a non-Japanese system locale.
add_test(NAME gui.any_locale_test_other_locale COMMAND gui_any_locale_test --non-japanese-locale)
set_tests_properties(gui.any_locale_test_other_locale PROPERTIES RUN_SERIAL TRUE
                     ENVIRONMENT TAVELIN_WINE_LOCALE=C.UTF-8)

# The full-volume cases of the replace test run on a small tmpfs that their
# script mounts (CI runs as root); where mounting is refused they are skipped.
add_test(NAME win32.full_volume
         COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/full_volume.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:win32_replace_win_test>)
set_tests_properties(win32.full_volume PROPERTIES SKIP_RETURN_CODE 77)

# The benchmarks under Wine, one console program per source: the per-file
# work on trees (scripts/bench-tree) and the review of many undecided files
# (scripts/bench-list). They make and remove their files with the Windows
# tests' helpers; the review needs the program's resources.
file(GLOB WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win32/*.cpp)
foreach(src ${WIN_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(tavelin_${name} ${src} $<TARGET_OBJECTS:testres>)
  tavelin_flags(tavelin_${name})
  target_link_libraries(tavelin_${name} PRIVATE testsupport)
  target_link_options(tavelin_${name} PRIVATE ${STATIC_LINK})
endforeach()
