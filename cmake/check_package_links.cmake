# Fails when a relative link in a Markdown file of the release zip points at
# nothing in the unpacked zip, such as a screenshot or the manual left out of
# the package. Run by CTest:
#   cmake -DZIP=.../quellpad-<version>-win32.zip -DWORK_DIR=... -P check_package_links.cmake
if(NOT EXISTS "${ZIP}")
  message(FATAL_ERROR "no package at ${ZIP}: build it with `cmake --build --preset mingw --target package`")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(ARCHIVE_EXTRACT INPUT "${ZIP}" DESTINATION "${WORK_DIR}")
file(GLOB_RECURSE pages "${WORK_DIR}/*.md")
if(NOT pages)
  message(FATAL_ERROR "${ZIP} holds no README")
endif()

set(problems "")
set(checked 0)
foreach(page ${pages})
  get_filename_component(folder "${page}" DIRECTORY)
  file(RELATIVE_PATH shown "${WORK_DIR}" "${page}")
  file(READ "${page}" text)
  # Square brackets would hold list elements together, so they become words.
  string(REPLACE "[" "<LB>" text "${text}")
  string(REPLACE "]" "<RB>" text "${text}")
  # Inline links and images, [text](target "title"), and reference
  # definitions, [name]: target.
  string(REGEX MATCHALL "<RB>\\([^)\n]+\\)" inline "${text}")
  string(REGEX MATCHALL "\n<LB>[^\n]+<RB>:[ \t]*[^ \t\n]+" references "${text}")
  set(targets "")
  foreach(link ${inline})
    string(REGEX REPLACE "^<RB>\\(<?([^ >)]+).*$" "\\1" target "${link}")
    list(APPEND targets "${target}")
  endforeach()
  foreach(link ${references})
    string(REGEX REPLACE "^.*<RB>:[ \t]*<?([^ \t>]+)>?$" "\\1" target "${link}")
    list(APPEND targets "${target}")
  endforeach()
  foreach(target ${targets})
    # Addresses on the web and anchors in the same page are not files.
    if(target MATCHES "^[A-Za-z][A-Za-z0-9+.-]*:" OR target MATCHES "^#")
      continue()
    endif()
    string(REGEX REPLACE "#.*$" "" file "${target}")
    math(EXPR checked "${checked} + 1")
    if(NOT EXISTS "${folder}/${file}")
      list(APPEND problems "${shown}: ${target}")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "links in the package that lead nowhere:\n  ${text}")
endif()
message(STATUS "package: ${checked} relative links, each found in the unpacked zip")
