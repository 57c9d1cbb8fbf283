# The browser edition (PELMOT_WEB, built with Emscripten by web.sh): the same
# core with the browser's backend. Of the desktop's common backend it takes
# what needs neither threads nor other processes nor fontconfig.
set(WEB_DIR ${CMAKE_CURRENT_SOURCE_DIR}/platform/web)
add_library(pelmot_platform_web STATIC
  platform/common/clock.cpp
  platform/common/catalog_folder.cpp
  platform/common/files.cpp
  platform/common/staged_import.cpp
  platform/common/system_files.cpp
  platform/common/paths.cpp
  platform/common/font.cpp
  platform/common/text_factory.cpp
  platform/common/picload.cpp
  platform/common/mci_player.cpp
  platform/ffmpeg/ffmpeg_movie.cpp
  platform/web/web_movie_decoder.cpp
  platform/web/yuv420_pixels.cpp
  platform/web/web_font.cpp
  platform/web/mo_catalogs.cpp
  platform/web/web_codepage.cpp
  platform/web/web_storage.cpp
  platform/web/web_window.cpp
  platform/web/web_content.cpp
  platform/web/web_pictures.cpp
  platform/web/late_font.cpp
  platform/web/web_page.cpp
  platform/web/web_reading_aids.cpp
  platform/web/touch_gesture.cpp)
include(${WEB_DIR}/sjis_table.cmake)
pelmot_sjis_table(pelmot_platform_web)
# The movie's pictures are converted by yuv420_pixels.cpp: no swscale.
target_compile_definitions(pelmot_platform_web PRIVATE PELMOT_OWN_YUV_PIXELS=1)
target_link_libraries(pelmot_platform_web
  PUBLIC pelmot_platform
  PRIVATE PkgConfig::SDL2_IMAGE PkgConfig::FREETYPE PkgConfig::FFMPEG)

add_executable(pelmot main/web_main.cpp main/web_saves.cpp)
# The prefix holds static libraries: their own dependencies come from
# pkg-config's static flags.
target_link_libraries(pelmot PRIVATE pelmot_core pelmot_platform_web
  ${SDL2_IMAGE_STATIC_LDFLAGS} ${FREETYPE_STATIC_LDFLAGS} ${FFMPEG_STATIC_LDFLAGS})
set_target_properties(pelmot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PELMOT_OUTPUT_DIR} SUFFIX ".js")
set_property(TARGET pelmot APPEND PROPERTY LINK_DEPENDS ${WEB_DIR}/web_page.js ${WEB_DIR}/web_content.js)
# One callback per animation frame and no Asyncify: the game never blocks.
# What the first frame needs comes packed beside the program (content.data,
# by web.sh); the page fetches the rest after it (web_content.js).
target_link_options(pelmot PRIVATE
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=64MB
  -sFORCE_FILESYSTEM=1
  -lidbfs.js
  # The page's script calls these (web_page.js).
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free,_pelmot_state,_pelmot_frames,_pelmot_pick_point,_pelmot_page_hidden,_pelmot_saves_sync_failed,_pelmot_export_saves,_pelmot_saves_bytes,_pelmot_saves_text,_pelmot_check_import,_pelmot_stage_import
  -sEXPORTED_RUNTIME_METHODS=callMain,FS,UTF8ToString,stringToUTF8,lengthBytesUTF8
  "SHELL:--pre-js ${WEB_DIR}/web_page.js"
  "SHELL:--pre-js ${WEB_DIR}/web_content.js")
configure_file(${WEB_DIR}/index.html ${PELMOT_OUTPUT_DIR}/index.html COPYONLY)

# Smallest code where a frame's time is not spent: what the page fetches
# before its first frame is mostly this program. The pixel work of a frame
# (Surface, the composition in present/, the canvas copy and the glyphs in
# this backend) keeps -O3: with everything at -Oz the drawing frame of a
# step took 1.8x as long in bench/web_bench.sh.
set(size_layers ${PELMOT_CORE_LAYERS})
list(REMOVE_ITEM size_layers present)
foreach(layer ${size_layers})
  target_compile_options(pelmot_${layer} PRIVATE -Oz)
endforeach()
target_compile_options(pelmot PRIVATE -Oz)
# The pixel work uses the browser's 128-bit vector instructions, which every
# current browser has: the compiler turns its loops over rows into vector
# code.
foreach(drawing pelmot_platform pelmot_present pelmot_platform_web)
  target_compile_options(${drawing} PRIVATE -msimd128)
endforeach()
target_link_options(pelmot PRIVATE -msimd128)
