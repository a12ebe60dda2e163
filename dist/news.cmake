# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads NEWS.md, the one list of releases, for what is made from it: the AppStream release
# list, the man page's date and the Debian changelog. A release is a "## VERSION (DATE)"
# heading followed by "- " items, whose continuation lines are indented.
#
# Included from dist/CMakeLists.txt, vorpy_read_news() sets VORPY_RELEASE_DATE (the newest
# release's date) and VORPY_RELEASES (the <release> elements) and stops the configuration
# when the newest release is not the project's version. Run as a script
# (cmake -DNEWS=... -DOUTPUT=... -DMAINTAINER=... -P news.cmake) it writes the Debian
# changelog.
cmake_minimum_required(VERSION 3.25)

# A semicolon would split a CMake list: the items keep it as a control character until
# they are written out.
string(ASCII 31 vorpy_news_semicolon)

# Fills <prefix>_VERSIONS with the releases, newest first, and for each version V
# <prefix>_DATE_V and <prefix>_ITEMS_V (the items' texts, one list entry each, with the
# Markdown quoting marks taken out).
function(vorpy_parse_news news prefix)
  file(READ ${news} text)
  string(REPLACE ";" "${vorpy_news_semicolon}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(versions)
  set(version)
  set(item)
  foreach(line IN LISTS lines)
    if(line MATCHES "^## ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
      set(version ${CMAKE_MATCH_1})
      list(APPEND versions ${version})
      set(${prefix}_DATE_${version} ${CMAKE_MATCH_2} PARENT_SCOPE)
      set(items_${version})
    elseif(version AND line MATCHES "^- (.*)$")
      list(APPEND items_${version} "${CMAKE_MATCH_1}")
    elseif(version AND items_${version} AND line MATCHES "^  +(.*)$")
      list(POP_BACK items_${version} item)
      list(APPEND items_${version} "${item} ${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(NOT versions)
    message(FATAL_ERROR "${news} names no release (a \"## VERSION (YYYY-MM-DD)\" heading)")
  endif()
  foreach(version IN LISTS versions)
    string(REPLACE "`" "" items "${items_${version}}")
    if(NOT items)
      message(FATAL_ERROR "${news}: release ${version} lists no changes")
    endif()
    set(${prefix}_ITEMS_${version} "${items}" PARENT_SCOPE)
  endforeach()
  set(${prefix}_VERSIONS ${versions} PARENT_SCOPE)
endfunction()

function(vorpy_read_news news project_version)
  vorpy_parse_news(${news} news)
  list(GET news_VERSIONS 0 newest)
  if(NOT newest STREQUAL project_version)
    message(FATAL_ERROR "${news}: the newest release is ${newest}, the project's version is "
                        "${project_version}: add the release to NEWS.md")
  endif()
  set(releases)
  foreach(version IN LISTS news_VERSIONS)
    string(APPEND releases "    <release version=\"${version}\" date=\"${news_DATE_${version}}\">\n"
           "      <description>\n        <ul>\n")
    foreach(item IN LISTS news_ITEMS_${version})
      string(REPLACE "${vorpy_news_semicolon}" ";" item "${item}")
      string(REPLACE "&" "&amp;" item "${item}")
      string(REPLACE "<" "&lt;" item "${item}")
      string(REPLACE ">" "&gt;" item "${item}")
      string(APPEND releases "          <li>${item}</li>\n")
    endforeach()
    string(APPEND releases "        </ul>\n      </description>\n    </release>\n")
  endforeach()
  set(VORPY_RELEASE_DATE ${news_DATE_${newest}} PARENT_SCOPE)
  set(VORPY_RELEASES "${releases}" PARENT_SCOPE)
endfunction()

# Debian changelog lines are kept under 80 columns: "    " and the words of one item.
function(vorpy_wrap_item text out)
  string(REGEX REPLACE " +" ";" words "${text}")
  set(result)
  set(line "  *")
  foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" length)
    if(length GREATER 79 AND NOT line MATCHES "^ *\\*?$")
      string(APPEND result "${line}\n")
      set(line "    ${word}")
    else()
      set(line "${line} ${word}")
    endif()
  endforeach()
  string(REPLACE "${vorpy_news_semicolon}" ";" result "${result}${line}\n")
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND NEWS AND OUTPUT AND MAINTAINER)
  vorpy_parse_news(${NEWS} news)
  set(changelog)
  foreach(version IN LISTS news_VERSIONS)
    string(APPEND changelog "vorpy (${version}-1) unstable; urgency=medium\n\n")
    foreach(item IN LISTS news_ITEMS_${version})
      vorpy_wrap_item("${item}" wrapped)
      string(APPEND changelog "${wrapped}")
    endforeach()
    # The release's date at noon UTC: the changelog's time says nothing the date does not.
    execute_process(COMMAND date -u -R -d "${news_DATE_${version}} 12:00"
                    OUTPUT_VARIABLE stamp OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND changelog "\n -- ${MAINTAINER}  ${stamp}\n\n")
  endforeach()
  string(STRIP "${changelog}" changelog)
  file(WRITE ${OUTPUT} "${changelog}\n")
endif()
