# Fails when a folder includes against the one-way order of the layout
# (platform <- config <- engine <- app; tools use the logic, never app/), or
# when Windows headers appear outside platform/, app/ and the tool's own
# platform file. Run by CTest: cmake -DSOURCE_DIR=... -P check_layout.cmake
set(forbidden_platform "config/|engine/|app/|tools/")
set(forbidden_config "engine/|app/|tools/")
set(forbidden_engine "app/|tools/")
set(forbidden_tools "app/")
set(windows_headers "windows|mmsystem|commctrl|commdlg|shellapi")

set(problems "")
foreach(folder platform config engine tools)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "\"(${forbidden_${folder}})")
        list(APPEND problems "${source}: ${line}")
      endif()
      if(line MATCHES "<(${windows_headers})\\.h>" AND NOT folder STREQUAL "platform"
         AND NOT source STREQUAL "tools/quellpad-cfg/tool_platform.cpp")
        list(APPEND problems "${source}: ${line} (Windows header outside the edges)")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "includes against the layout:\n  ${text}")
endif()
message(STATUS "layout: every include goes one way")
