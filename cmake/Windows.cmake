# The Windows build's platform floor, its libraries and what makes a program
# a screensaver file. Included by the top-level CMakeLists.txt when building
# with one of the mingw-w64 toolchain files. docs/structure.md ("Windows")
# says how the platform files are chosen.

# The files of the platform floor that only Linux compiles.
set(QV_LINUX_PLATFORM_FILES "/(SdlBackend|X11Embed|X11Image)")

set(QV_WIN32_DIR ${PROJECT_SOURCE_DIR}/src/platform/win32)

# Takes the Linux list of platform sources in `var` and makes it Windows':
# each win32/<Name>.cpp replaces <Name>.cpp, and every other win32 file joins.
function(qv_windows_platform_sources var)
  set(sources ${${var}})
  list(FILTER sources EXCLUDE REGEX "${QV_LINUX_PLATFORM_FILES}\\.cpp$")
  file(GLOB native CONFIGURE_DEPENDS ${QV_WIN32_DIR}/*.cpp)
  foreach(file IN LISTS native)
    get_filename_component(name ${file} NAME)
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/src/platform/${name})
  endforeach()
  set(${var} ${sources} ${native} PARENT_SCOPE)
endfunction()

# What the Windows side of the platform floor calls: windows and GDI, the
# registry and the shell, COM and the Imaging Component, the common controls.
set(QV_WINDOWS_LIBRARIES
  user32 gdi32 advapi32 shell32 shlwapi ole32 oleaut32 uuid windowscodecs comctl32 comdlg32 winmm)

# Every program stands alone: the C and C++ runtimes and the thread library
# are linked in, so that no DLL but the system's is needed beside it.
# The stack protector's checks come from libssp, linked in as well.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
link_libraries(-Wl,-Bstatic ssp)
# The wide entry points and strings of the system headers, and nothing older
# than Windows 7 in them; M_PI and its kin, which strict C++ hides there.
# The C99 printf family (%zu, %lld) rather than the old runtime's.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 _USE_MATH_DEFINES
  __USE_MINGW_ANSI_STDIO=1)

# 32-bit code computes in SSE2 registers as 64-bit code does, not in the x87
# unit's wider ones: a seed draws the same pixels on both.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

# A screensaver: the .scr name Windows looks for, no console window of its
# own, and the version, icon and manifest resources.
function(qv_windows_program target)
  enable_language(RC)
  set(rc ${PROJECT_SOURCE_DIR}/packaging/windows/quorvane.rc)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/packaging/windows/quorvane.ico;${PROJECT_SOURCE_DIR}/packaging/windows/quorvane.manifest")
  target_compile_definitions(${target} PRIVATE
    QV_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} QV_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    QV_VERSION_PATCH=${PROJECT_VERSION_PATCH})
  set_target_properties(${target} PROPERTIES SUFFIX ".scr" WIN32_EXECUTABLE ON)
endfunction()
