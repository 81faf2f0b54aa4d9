# Windows build (MinGW, 32-bit): the program, its Win32 tests and the
# end-to-end probe, all run under Wine.
enable_language(RC)
set(QP_WARNINGS -Wall -Wextra)
add_compile_options(-O2)
set(STATIC_LINK -static -static-libgcc -static-libstdc++)
set(WIN32_LIBS comctl32 comdlg32 shell32 gdi32 user32 advapi32)
# The PNG writer deflates with libdeflate, built here from the sources
# scripts/bootstrap fetches (Debian packages it for Linux only) and linked
# in statically, so that the program needs no DLL of its own; its threads
# are MinGW's POSIX threads, linked in statically too.
set(QP_LIBDEFLATE_DIR ${CMAKE_SOURCE_DIR}/build/third_party/libdeflate CACHE PATH "libdeflate's sources")
if(NOT EXISTS ${QP_LIBDEFLATE_DIR}/libdeflate.h OR NOT EXISTS ${QP_LIBDEFLATE_DIR}/lib/deflate_compress.c)
  message(FATAL_ERROR "No libdeflate sources in ${QP_LIBDEFLATE_DIR}: run scripts/bootstrap (or set QP_LIBDEFLATE_DIR)")
endif()
# The compressor, the decompressor (ZIP packs) and the checksums alone.
add_library(libdeflate STATIC
  ${QP_LIBDEFLATE_DIR}/lib/deflate_compress.c
  ${QP_LIBDEFLATE_DIR}/lib/deflate_decompress.c
  ${QP_LIBDEFLATE_DIR}/lib/adler32.c
  ${QP_LIBDEFLATE_DIR}/lib/crc32.c
  ${QP_LIBDEFLATE_DIR}/lib/utils.c
  ${QP_LIBDEFLATE_DIR}/lib/x86/cpu_features.c)
target_include_directories(libdeflate PUBLIC ${QP_LIBDEFLATE_DIR})
find_package(Threads REQUIRED)
set(PNG_LIBS libdeflate Threads::Threads)

add_library(quillpane_core STATIC ${CORE_SOURCES})
target_include_directories(quillpane_core PUBLIC src)
target_compile_options(quillpane_core PRIVATE ${QP_WARNINGS})
target_include_directories(quillpane_core PRIVATE ${CMAKE_BINARY_DIR}/generated)
add_dependencies(quillpane_core screen_fonts)
target_link_libraries(quillpane_core PUBLIC ${PNG_LIBS})

# Everything but WinMain, so that tests drive the real window procedure.
add_library(quillpane_win STATIC
  src/win32/viewer_state.cpp
  src/app/main_window.cpp
  src/win32/registry.cpp
  src/win32/settings.cpp
  src/win32/disk_file.cpp
  src/view/window_layout.cpp
  src/app/gallery.cpp
  src/export/png_export.cpp
  src/export/window_export.cpp
  src/document/document_loader.cpp
  src/document/pack_file.cpp
  src/document/directory_browse.cpp
  src/document/recent_files.cpp
  src/document/open_dialog.cpp
  src/document/information_dialog.cpp
  src/view/render_document.cpp
  src/view/colour_mode.cpp
  src/view/font_menu.cpp
  src/view/screen_timing.cpp
  src/document/slideshow.cpp
  src/view/render_page.cpp
  src/view/paint_view.cpp
  src/view/selection.cpp
  src/view/view_text.cpp
  src/view/find_view.cpp
  src/view/font_sheets.cpp
  src/shell/run_counter.cpp
  src/shell/config_dialog.cpp
  src/shell/association.cpp
  src/shell/shell_registry.cpp
  src/about/about_dialog.cpp)
target_compile_options(quillpane_win PRIVATE ${QP_WARNINGS})
target_compile_definitions(quillpane_win PUBLIC WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)
target_link_libraries(quillpane_win PUBLIC quillpane_core ${WIN32_LIBS})

set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/src/resources/quillpane.rc)
set_source_files_properties(${RESOURCE_FILE} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/src/resources/glyphs.bmp;${CMAKE_SOURCE_DIR}/src/resources/logo.bmp;${CMAKE_SOURCE_DIR}/src/resources/quillpane.ico;${CMAKE_SOURCE_DIR}/src/resources/quillpane.manifest;${CMAKE_SOURCE_DIR}/src/resources/resource_ids.h")

add_executable(quillpane WIN32 src/app/main.cpp ${RESOURCE_FILE})
target_link_libraries(quillpane PRIVATE quillpane_win)
target_link_options(quillpane PRIVATE ${STATIC_LINK} -s)

# The extra glyph sheets go in a fonts folder beside the program, where the
# Keymap menu finds them.
add_font_sheets()
add_dependencies(quillpane font_sheets)

# The tests need GoogleTest's sources (Debian's, cross-built); without them
# only the program is built.
set(QP_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${QP_GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources at ${QP_GTEST_SOURCE_DIR}: building the program only")
  return()
endif()
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QP_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(SESSION_DIR ${CMAKE_BINARY_DIR}/wine-session)
set(WINE_SESSION ${CMAKE_SOURCE_DIR}/scripts/wine-session)
add_test(NAME wine_session_start COMMAND ${WINE_SESSION} start ${SESSION_DIR})
add_test(NAME wine_session_stop COMMAND ${WINE_SESSION} stop ${SESSION_DIR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(quillpane_win_tests ${WIN_TEST_SOURCES} ${RESOURCE_FILE})
target_include_directories(quillpane_win_tests PRIVATE src tests/win)
target_compile_options(quillpane_win_tests PRIVATE ${QP_WARNINGS})
# The PNG export's tests read the PNGs back with the platform's own decoder
# (the Windows Imaging Component).
target_link_libraries(quillpane_win_tests PRIVATE quillpane_win gtest gtest_main gmock windowscodecs ole32 uuid)
target_link_options(quillpane_win_tests PRIVATE ${STATIC_LINK})
# Some tests copy the sheets from the fonts folder beside them.
add_dependencies(quillpane_win_tests font_sheets)
target_compile_definitions(quillpane_win_tests PRIVATE
  QP_CORPUS_DIR="${QP_CORPUS_DIR}" QP_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data")
add_test(NAME win32 COMMAND ${WINE_SESSION} exec ${SESSION_DIR} wine $<TARGET_FILE:quillpane_win_tests>)
# Every Windows test shares the session's X display: never two at once.
set_tests_properties(win32 PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 900 RESOURCE_LOCK wine_display)

# End-to-end: the real program in a virtual desktop, driven with real input
# and observed by a probe started in the same desktop.
add_executable(qp_probe tests/e2e/probe.cpp tests/e2e/probe.rc)
set_source_files_properties(tests/e2e/probe.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/probe.manifest)
target_link_libraries(qp_probe PRIVATE ${WIN32_LIBS})
target_link_options(qp_probe PRIVATE ${STATIC_LINK})
# The native build (`make native`, which `make test` runs first), where the
# comparison with the native exporter finds it.
set(QP_NATIVE_DIR ${CMAKE_SOURCE_DIR}/build/native CACHE PATH "The native build")
file(GLOB E2E_SCRIPTS CONFIGURE_DEPENDS tests/e2e/test_*.sh)
foreach(script ${E2E_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND ${WINE_SESSION} exec --fresh ${SESSION_DIR} bash ${script})
  set_tests_properties(e2e_${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300 RESOURCE_LOCK wine_display
    ENVIRONMENT "QP_EXE=$<TARGET_FILE:quillpane>;QP_PROBE=$<TARGET_FILE:qp_probe>;QP_SOURCE_DIR=${CMAKE_SOURCE_DIR};QP_CORPUS_DIR=${QP_CORPUS_DIR};QP_NATIVE_DIR=${QP_NATIVE_DIR}")
endforeach()
# The install test builds the native exporter and makes a Wine prefix twice.
set_tests_properties(e2e_test_linux_install PROPERTIES TIMEOUT 600)

# The render benchmark runs under Wine from `make bench`.
add_executable(render_benchmark bench/render_benchmark.cpp tests/win/reference_render.cpp ${RESOURCE_FILE})
target_include_directories(render_benchmark PRIVATE src tests/win)
target_link_libraries(render_benchmark PRIVATE quillpane_win)
target_link_options(render_benchmark PRIVATE ${STATIC_LINK})
target_compile_definitions(render_benchmark PRIVATE QP_CORPUS_DIR="${QP_CORPUS_DIR}")

# The ANSI colour mode's render in the real window, timed under Wine.
add_executable(ansi_benchmark bench/ansi_benchmark.cpp tests/win/test_support.cpp ${RESOURCE_FILE})
target_include_directories(ansi_benchmark PRIVATE src tests/win)
target_link_libraries(ansi_benchmark PRIVATE quillpane_win)
target_link_options(ansi_benchmark PRIVATE ${STATIC_LINK})
target_compile_definitions(ansi_benchmark PRIVATE QP_CORPUS_DIR="${QP_CORPUS_DIR}")

# The browse benchmark: Page Down through a folder of the corpus's files.
add_executable(browse_benchmark bench/browse_benchmark.cpp tests/win/test_support.cpp ${RESOURCE_FILE})
target_include_directories(browse_benchmark PRIVATE src tests/win)
target_link_libraries(browse_benchmark PRIVATE quillpane_win)
target_link_options(browse_benchmark PRIVATE ${STATIC_LINK})
target_compile_definitions(browse_benchmark PRIVATE QP_CORPUS_DIR="${QP_CORPUS_DIR}")

# Opening a pack of the corpus and Page Down inside it.
add_executable(zip_benchmark bench/zip_benchmark.cpp tests/win/test_support.cpp ${RESOURCE_FILE})
target_include_directories(zip_benchmark PRIVATE src tests/win)
target_link_libraries(zip_benchmark PRIVATE quillpane_win)
target_link_options(zip_benchmark PRIVATE ${STATIC_LINK})

# The PNG export timed inside the process, for `make bench`.
add_executable(png_export_benchmark bench/png_export_benchmark.cpp ${RESOURCE_FILE})
target_include_directories(png_export_benchmark PRIVATE src)
target_link_libraries(png_export_benchmark PRIVATE quillpane_win)
target_link_options(png_export_benchmark PRIVATE ${STATIC_LINK})

# The gallery over a pack of the corpus and over a folder of 10,000 files.
add_executable(gallery_benchmark bench/gallery_benchmark.cpp tests/win/test_support.cpp ${RESOURCE_FILE})
target_include_directories(gallery_benchmark PRIVATE src tests/win)
target_link_libraries(gallery_benchmark PRIVATE quillpane_win psapi)
target_link_options(gallery_benchmark PRIVATE ${STATIC_LINK})
