# Native build: the native exporter (quillpane-export), the pure core
# under AddressSanitizer and UndefinedBehaviorSanitizer, its unit tests,
# the benchmarks and the fuzz targets. The exporter needs only libdeflate,
# threads, and python3 with the console fonts to make its screen fonts:
# `make install` builds it on a machine without GoogleTest.
#   cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=Release -DQP_SANITIZE=OFF
#   cmake --build build/linux --target quillpane_export
option(QP_SANITIZE "Build the native tests with ASan and UBSan" ON)
option(QP_FUZZ "Build the libFuzzer targets (clang only)" OFF)

set(QP_WARNINGS -Wall -Wextra -Wpedantic -Wshadow)

# The PNG writer deflates with Debian's libdeflate, on threads.
find_package(Threads REQUIRED)
find_path(QP_LIBDEFLATE_INCLUDE libdeflate.h REQUIRED)
find_library(QP_LIBDEFLATE NAMES deflate REQUIRED)
set(PNG_LIBS ${QP_LIBDEFLATE} Threads::Threads)

add_library(quillpane_core STATIC ${CORE_SOURCES})
target_include_directories(quillpane_core PUBLIC src ${QP_LIBDEFLATE_INCLUDE})
target_compile_options(quillpane_core PRIVATE ${QP_WARNINGS})
target_include_directories(quillpane_core PRIVATE ${CMAKE_BINARY_DIR}/generated)
add_dependencies(quillpane_core screen_fonts)
target_link_libraries(quillpane_core PUBLIC ${PNG_LIBS})

if(QP_FUZZ)
  set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -g -O1)
  target_compile_options(quillpane_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  foreach(target command_line_fuzzer layout_fuzzer ansi_screen_fuzzer scene_formats_fuzzer
          bbs_formats_fuzzer zip_pack_fuzzer)
    add_executable(${target} fuzz/${target}.cpp)
    target_link_libraries(${target} PRIVATE quillpane_core)
    target_compile_options(${target} PRIVATE ${FUZZ_FLAGS})
    target_link_options(${target} PRIVATE ${FUZZ_FLAGS})
  endforeach()
  return()
endif()

# The PNG export as a native program (not in a fuzzing build, whose core
# needs the fuzzer's runtime), from the same export core as
# quillpane.exe --png, with the built-in glyph sheet compiled in.
set(GLYPH_SHEET_INC ${CMAKE_BINARY_DIR}/generated/glyph_sheet_bmp.inc)
add_custom_command(OUTPUT ${GLYPH_SHEET_INC}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/src/resources/glyphs.bmp -DOUTPUT=${GLYPH_SHEET_INC}
          -P ${CMAKE_SOURCE_DIR}/cmake/EmbedBytes.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/glyphs.bmp ${CMAKE_SOURCE_DIR}/cmake/EmbedBytes.cmake VERBATIM)
add_executable(quillpane_export src/export/export_posix.cpp ${GLYPH_SHEET_INC})
target_include_directories(quillpane_export PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_compile_options(quillpane_export PRIVATE ${QP_WARNINGS})
target_link_libraries(quillpane_export PRIVATE quillpane_core)
set_target_properties(quillpane_export PROPERTIES OUTPUT_NAME quillpane-export)
# It finds the extra sheets in a fonts folder beside it, as the Windows
# program does; the install puts it beside the program's own.
add_font_sheets()
add_dependencies(quillpane_export font_sheets)

if(QP_SANITIZE)
  set(SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
endif()

# Without GoogleTest (a machine that only installs) the exporter is all
# that is built.
find_package(GTest QUIET)
# The PNG tests, ansilove's comparison and png_compare read PNGs with
# lodepng's decoder (Debian's liblodepng-dev, for tests and tools only).
find_library(QP_LODEPNG NAMES lodepng)
if(NOT GTest_FOUND OR NOT QP_LODEPNG)
  message(STATUS "No GoogleTest or lodepng: building the native exporter only (run scripts/bootstrap for the tests)")
  return()
endif()
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
# The sanitized tests get their own copy of the core.
add_executable(quillpane_unit_tests ${UNIT_TEST_SOURCES} ${CORE_SOURCES})
target_include_directories(quillpane_unit_tests PRIVATE src tests/unit)
target_include_directories(quillpane_unit_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
add_dependencies(quillpane_unit_tests screen_fonts)
target_compile_options(quillpane_unit_tests PRIVATE ${QP_WARNINGS} ${SAN_FLAGS} -g)
target_link_options(quillpane_unit_tests PRIVATE ${SAN_FLAGS})
target_compile_definitions(quillpane_unit_tests PRIVATE
  QP_CORPUS_DIR="${QP_CORPUS_DIR}"
  QP_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
  QP_SAMPLES_DIR="${CMAKE_SOURCE_DIR}/samples")
target_include_directories(quillpane_unit_tests PRIVATE ${QP_LIBDEFLATE_INCLUDE})
target_link_libraries(quillpane_unit_tests PRIVATE GTest::gtest_main ${PNG_LIBS} ${QP_LODEPNG})
add_test(NAME unit COMMAND quillpane_unit_tests)
# The Linux launcher's path translation needs neither Wine nor a build.
add_test(NAME linux_launcher_paths COMMAND bash ${CMAKE_SOURCE_DIR}/tests/linux/launcher_paths_test.sh)
add_test(NAME include_layers COMMAND bash ${CMAKE_SOURCE_DIR}/tests/include_layers_test.sh)

find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(layout_benchmark bench/layout_benchmark.cpp)
  target_link_libraries(layout_benchmark PRIVATE quillpane_core benchmark::benchmark)
  target_compile_definitions(layout_benchmark PRIVATE QP_CORPUS_DIR="${QP_CORPUS_DIR}")
endif()
add_executable(ansi_benchmark bench/ansi_benchmark.cpp)
target_link_libraries(ansi_benchmark PRIVATE quillpane_core)
target_compile_definitions(ansi_benchmark PRIVATE QP_CORPUS_DIR="${QP_CORPUS_DIR}")

# The ANSI colour mode against Debian's ansilove, cell by cell: a handful of
# corpus files in the tests (skipped without ansilove or the corpus), and
# every corpus .ans file from `make ansi-oracle`.
add_executable(ansi_oracle tools/ansi_oracle.cpp)
target_link_libraries(ansi_oracle PRIVATE quillpane_core ${QP_LODEPNG})
target_compile_options(ansi_oracle PRIVATE ${QP_WARNINGS})
set(ORACLE_FILES)
foreach(file IN ITEMS
    ansilove/examples/burps/bs-alove.ans
    x84/x84/default/art/top/us-path.ans
    moebius/build/ans/changelog.ans
    ansiart2utf8/test_data/scene/uva.ans
    sbbs/xtrn/synthkart/ansi_art/mt-evoke2014.ans)
  list(APPEND ORACLE_FILES ${QP_CORPUS_DIR}/${file})
endforeach()
add_test(NAME ansi_oracle COMMAND ansi_oracle --min 99 ${ORACLE_FILES})
# The same in 9-pixel cells against ansilove -b 9, the 9th column pixel for pixel.
add_test(NAME ansi_oracle_9 COMMAND ansi_oracle --letters 9 --min 99 ${ORACLE_FILES})
set_tests_properties(ansi_oracle_9 PROPERTIES SKIP_RETURN_CODE 77)
# The TundraDraw and PCBoard readers against ansilove, pixel by pixel.
# The Windows tests compare the native exporter's PNGs with quillpane.exe's with it.
add_executable(png_compare tools/png_compare.cpp)
target_link_libraries(png_compare PRIVATE ${QP_LODEPNG})
set_tests_properties(ansi_oracle PROPERTIES SKIP_RETURN_CODE 77)
# A pack of the whole corpus through the exporter against its files on disk.
add_test(NAME pack_export COMMAND bash ${CMAKE_SOURCE_DIR}/tests/linux/pack_export_test.sh
  $<TARGET_FILE:quillpane_export> $<TARGET_FILE:png_compare> ${QP_CORPUS_DIR} $<TARGET_FILE:format_files>)
set_tests_properties(pack_export PROPERTIES SKIP_RETURN_CODE 77)
# The scene formats' readers against ansilove, pixel by pixel, over the
# corpus files in the formats ansilove reads (all but Avatar).
add_executable(format_oracle tools/format_oracle.cpp)
target_link_libraries(format_oracle PRIVATE quillpane_core ${QP_LODEPNG})
target_compile_options(format_oracle PRIVATE ${QP_WARNINGS})
set(FORMAT_ORACLE_FILES)
foreach(file IN ITEMS
    image-textmode/corpus/input/42_WOLVR.XB image-textmode/corpus/input/HU-ERMAG.BIN
    image-textmode/corpus/input/MD-XMAS.IDF image-textmode/corpus/input/US-NCPL1.ADF
    ansilove/tests/bs-alove.xb ansilove/tests/bs-alove.bin ansilove/tests/bs-alove.adf
    image-textmode/corpus/input/zv_steve.tnd ansilove/tests/bs-alove.tnd
    image-textmode/corpus/input/SCREEN4.PCB ansilove/tests/bs-alove.pcb)
  list(APPEND FORMAT_ORACLE_FILES ${QP_CORPUS_DIR}/${file})
endforeach()
add_test(NAME format_oracle COMMAND format_oracle --min 99 ${FORMAT_ORACLE_FILES})
set_tests_properties(format_oracle PROPERTIES SKIP_RETURN_CODE 77)
# The screen fonts' characters against ansilove's own fonts: each code
# page's glyphs must be nearest ansilove's of the same byte.
add_executable(font_oracle tools/font_oracle.cpp)
target_link_libraries(font_oracle PRIVATE quillpane_core ${QP_LODEPNG})
target_compile_options(font_oracle PRIVATE ${QP_WARNINGS})
add_test(NAME font_oracle COMMAND font_oracle)
set_tests_properties(font_oracle PROPERTIES SKIP_RETURN_CODE 77)

# The Linux desktop entry, thumbnailer and MIME package are made from the
# table of formats: the ones in src/linux must be what it makes.
add_executable(format_files tools/format_files.cpp)
target_link_libraries(format_files PRIVATE quillpane_core)
target_compile_options(format_files PRIVATE ${QP_WARNINGS})
add_test(NAME linux_files COMMAND format_files check ${CMAKE_SOURCE_DIR}/src/linux)

# The PNG writer on the page of the 512 KB document: one thread against all.
add_executable(png_writer_benchmark bench/png_writer_benchmark.cpp)
target_link_libraries(png_writer_benchmark PRIVATE quillpane_core)
target_compile_definitions(png_writer_benchmark PRIVATE
  QP_CORPUS_DIR="${QP_CORPUS_DIR}" QP_GLYPH_SHEET="${CMAKE_SOURCE_DIR}/src/resources/glyphs.bmp")
# The text outputs against independent programs: the text of every plain
# .nfo and .diz against iconv, and the ANSI output of every .ans file that
# ansilove reads as tmux shows it, cell by cell.
add_executable(text_oracle tools/text_oracle.cpp)
target_link_libraries(text_oracle PRIVATE quillpane_core)
target_compile_options(text_oracle PRIVATE ${QP_WARNINGS})
add_test(NAME text_oracle COMMAND text_oracle text ${QP_CORPUS_DIR})
add_test(NAME terminal_oracle COMMAND text_oracle terminal --min 99.5 ${QP_CORPUS_DIR})
add_test(NAME terminal_oracle_16 COMMAND text_oracle terminal --colours 16 --min 99.5 ${QP_CORPUS_DIR})
set_tests_properties(text_oracle terminal_oracle terminal_oracle_16 PROPERTIES SKIP_RETURN_CODE 77)

# The HTML page drawn by headless Chromium against the PNG export, pixel by
# pixel, and its text against the document's (skipped without chromium):
# ANSI files ansilove reads, the scene formats, .nfo files in the text
# layout (one in code page 866, one in a colour sheet), Topaz, 9-pixel
# letters and a 4:3 screen; then a font of 512 glyphs, and every byte in
# sets that show a character with two glyphs, blanks with ink and a soft
# hyphen.
add_executable(html_check tools/html_check.cpp)
target_link_libraries(html_check PRIVATE quillpane_core ${QP_LODEPNG})
target_compile_options(html_check PRIVATE ${QP_WARNINGS})
target_compile_definitions(html_check PRIVATE QP_SHEET_PATH="${CMAKE_SOURCE_DIR}/src/resources/glyphs.bmp")
set(C ${QP_CORPUS_DIR})
add_test(NAME html_check COMMAND html_check --min 99
  ${C}/ansilove/examples/burps/bs-alove.ans ${C}/moebius/build/ans/changelog.ans
  ${C}/x84/x84/default/art/top/us-path.ans "${C}/ANSI-art/TestPattern 24-bit.ans"
  ${C}/moebius/build/ans/anst-moebius.ans ${C}/ansilove/examples/nail/n-silove.ans
  --4:3 ${C}/ansilove/examples/burps/bs-alove.ans
  ${C}/image-textmode/corpus/input/42_WOLVR.XB ${C}/ansilove/tests/bs-alove.bin ${C}/ansilove/tests/bs-alove.adf
  ${C}/image-textmode/corpus/input/MD-XMAS.IDF ${C}/image-textmode/corpus/input/zv_steve.tnd
  ${C}/image-textmode/corpus/input/SCREEN4.PCB
  ${C}/DC-scene-NFO/alp-ikaruga.nfo ${C}/DC-scene-NFO/sa-tcfix.nfo ${C}/up-17/FILE_ID.DIZ
  --font "IBM VGA 866" ${C}/DC-scene-NFO/bbe-nett.nfo
  --sheet ${CMAKE_SOURCE_DIR}/src/resources/fonts/blue.bmp ${C}/DC-scene-NFO/krm-road.nfo)
set_tests_properties(html_check PROPERTIES SKIP_RETURN_CODE 77)
# Pages made in the check, where a single cell wrong is a fault: every pixel.
add_test(NAME html_check_sets COMMAND html_check --min 100 --two-fonts
  --font "Atari ATASCII" --all-bytes --font "Amiga Topaz 2+" --all-bytes --font "IBM VGA 850" --all-bytes)
set_tests_properties(html_check_sets PROPERTIES SKIP_RETURN_CODE 77)
