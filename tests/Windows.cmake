# The Windows build's tests, run under Wine on a virtual X display. Included
# by tests/CMakeLists.txt when cross-building. One program per floor, from the
# same test files as on Linux but those that need POSIX (fork, signals, file
# modes, X11) and the Windows build's own win32/ folders; each program is
# one CTest test, since every start of a Windows program under Wine costs
# far more than a test case.

# GoogleTest from Debian's source package, built with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# A test file that uses what only POSIX, SDL or X11 offers stays Linux's, as
# do those that make their sample pictures with ImageMagick (ImageSupport.h).
set(QV_POSIX_ONLY
  "#include <(unistd|signal|fcntl|spawn|dlfcn|pwd|poll|pthread)\\.h>|#include <(sys|X11)/|#include <SDL|::setenv|#include \"support/(Forked|ProgramRun|DemoWindow)\\.h\"|#include \"styles/image/ImageSupport\\.h\"")

# The wine session: one prefix in the build folder, one X display, Wine
# started once for all the tests (tests/wine/session.sh).
set(QV_WINE_SESSION ${CMAKE_BINARY_DIR}/wine)
set(QV_WINE_RUN sh ${CMAKE_CURRENT_SOURCE_DIR}/wine/run.sh ${QV_WINE_SESSION})
add_test(NAME wine.start COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/wine/session.sh start ${QV_WINE_SESSION})
add_test(NAME wine.stop COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/wine/session.sh stop ${QV_WINE_SESSION})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

# The JPEG files of the picture tests, made here by ImageMagick (as the Linux
# tests make theirs when they run; under Wine there is none): a 24 x 16
# gradient from red to blue, baseline, progressive, CMYK and grey, and plain
# orange pictures of 200 x 100 and 40 x 300 (tests/platform/win32/JpegSamples.h).
find_program(QV_CONVERT convert REQUIRED)
set(QV_JPEG_SAMPLES ${CMAKE_BINARY_DIR}/jpeg-samples)
set(gradient -size 24x16 gradient:red-blue -quality 85 -strip)
set(orange xc:orange -quality 30 -strip)
add_custom_command(OUTPUT ${QV_JPEG_SAMPLES}/baseline.jpg
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_JPEG_SAMPLES}
  COMMAND ${QV_CONVERT} ${gradient} ${QV_JPEG_SAMPLES}/baseline.jpg
  COMMAND ${QV_CONVERT} ${gradient} -interlace JPEG ${QV_JPEG_SAMPLES}/progressive.jpg
  COMMAND ${QV_CONVERT} ${gradient} -colorspace CMYK ${QV_JPEG_SAMPLES}/cmyk.jpg
  COMMAND ${QV_CONVERT} ${gradient} -colorspace Gray ${QV_JPEG_SAMPLES}/gray.jpg
  COMMAND ${QV_CONVERT} -size 200x100 ${orange} ${QV_JPEG_SAMPLES}/wide.jpg
  COMMAND ${QV_CONVERT} -size 40x300 ${orange} ${QV_JPEG_SAMPLES}/tall.jpg
  VERBATIM)
add_custom_target(qv_jpeg_samples DEPENDS ${QV_JPEG_SAMPLES}/baseline.jpg)

# Tests of what Linux does its own way: the application's modes where "/a"
# does nothing and the settings store is an INI folder (Windows answers "/a"
# with a notice; tests/app/win32/ tests the modes there).
set(QV_LINUX_SERVICE_TESTS "/app/SaverAppTest\\.cpp$")
function(qv_windows_test_suite name)
  file(GLOB_RECURSE candidates CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  list(FILTER candidates EXCLUDE REGEX "/win32/|${QV_LINUX_SERVICE_TESTS}")
  set(sources "")
  foreach(f IN LISTS candidates)
    file(STRINGS ${f} posix REGEX "${QV_POSIX_ONLY}")
    if(NOT posix)
      list(APPEND sources ${f})
    endif()
  endforeach()
  file(GLOB native CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/win32/*.cpp)
  list(APPEND sources ${native})
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE quorvane_core gtest gtest_main)
  target_include_directories(test_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(test_${name} PRIVATE QV_TEST_EXE="$<TARGET_FILE:quorvane>"
    QV_JPEG_SAMPLES="${QV_JPEG_SAMPLES}")
  add_dependencies(test_${name} quorvane qv_jpeg_samples)
  add_test(NAME win.${name} COMMAND ${QV_WINE_RUN} $<TARGET_FILE:test_${name}> ${ARGN})
  set_tests_properties(win.${name} PROPERTIES FIXTURES_REQUIRED wine)
endfunction()

qv_windows_test_suite(engine)
qv_windows_test_suite(shape)
qv_windows_test_suite(layout)
qv_windows_test_suite(color)
qv_windows_test_suite(Patterns)
qv_windows_test_suite(styles)
qv_windows_test_suite(scene)
qv_windows_test_suite(platform)
qv_windows_test_suite(app)

# The modes run the program under the session's one display and send it
# input: alone, so that nothing else takes the focus meanwhile.
set_tests_properties(win.app PROPERTIES RUN_SERIAL ON)

# The same seed gives the same picture as the Linux program built beside
# (make test passes it).
set(QV_LINUX_PROGRAM "" CACHE FILEPATH "The Linux quorvane to compare the Windows program's pictures with")
if(QV_LINUX_PROGRAM)
  add_test(NAME win.render_same_pixels
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/wine/render_compare.sh ${QV_WINE_SESSION} $<TARGET_FILE:quorvane>
            ${QV_LINUX_PROGRAM} ${CMAKE_BINARY_DIR}/render_compare)
  set_tests_properties(win.render_same_pixels PROPERTIES FIXTURES_REQUIRED wine)
  # Both programs full screen over two monitors, one at a negative origin,
  # on an X server of their own (skipped where that server cannot start).
  add_test(NAME win.two_monitors
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/wine/monitors.sh ${QV_LINUX_PROGRAM} $<TARGET_FILE:quorvane>
            ${CMAKE_BINARY_DIR}/monitors)
  set_tests_properties(win.two_monitors PROPERTIES SKIP_RETURN_CODE 77)
endif()

# The settings sheet: its description and the native property sheet.
add_executable(test_sheet ${CMAKE_CURRENT_SOURCE_DIR}/config/DescriptionTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/config/win32/SheetTest.cpp ${CMAKE_CURRENT_SOURCE_DIR}/config/win32/PreviewTest.cpp)
target_link_libraries(test_sheet PRIVATE quorvane_sheet gtest gtest_main)
target_include_directories(test_sheet PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
# The preview test starts the program into the sheet's preview.
target_compile_definitions(test_sheet PRIVATE QV_TEST_EXE="$<TARGET_FILE:quorvane>")
add_dependencies(test_sheet quorvane)
# A screensaver's manifest: version 6 of the common controls, as the program has.
qv_windows_program(test_sheet)
set_target_properties(test_sheet PROPERTIES SUFFIX ".exe" WIN32_EXECUTABLE OFF)
add_test(NAME win.sheet COMMAND ${QV_WINE_RUN} $<TARGET_FILE:test_sheet>)
# It takes the foreground and photographs the screen: alone, as the modes are.
set_tests_properties(win.sheet PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON)

# The installer, in a Wine prefix of its own: installed silently for the
# user, again over itself and an older version, then uninstalled, with and
# without the user's settings, and for all users.
add_test(NAME windows.installer
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/install/windows_install_test.sh $<TARGET_FILE:quorvane>
    ${PROJECT_VERSION} ${CMAKE_BINARY_DIR}/installer)
set_tests_properties(windows.installer PROPERTIES LABELS install ENVIRONMENT "DISPLAY=")
