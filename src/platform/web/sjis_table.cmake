# The table of the page's Shift_JIS conversion (web_codepage.cpp), written
# at build time from Python's shift_jis codec; the native tests check it
# against the C library's iconv.
function(pelmot_sjis_table target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/sjis_table)
  set(script ${PROJECT_SOURCE_DIR}/src/platform/web/make_sjis_table.py)
  add_custom_command(OUTPUT ${dir}/sjis_table.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND python3 ${script} ${dir}/sjis_table.h
    DEPENDS ${script} VERBATIM)
  target_sources(${target} PRIVATE ${dir}/sjis_table.h)
  target_include_directories(${target} PRIVATE ${dir})
endfunction()
