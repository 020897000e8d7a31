# A manual page of doc/ as a package installs it. The pages in the tree
# name no version in their footer (".Os datum"), so that a release changes
# nothing but the project() line: the build writes the version into that
# line. A package without the distributions' folders (the npm package, the
# Windows zip) also gets its own SEE ALSO section in place of the page's,
# its last, to name what that package holds.
#   datum_manual_text(PAGE VERSION SEE_ALSO OUTPUT)   SEE_ALSO: "" keeps the page's
function(datum_manual_text page version see_also output)
  file(READ "${page}" text)
  string(FIND "${text}" "\n.Os datum\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${page} has no line '.Os datum' for the version of the build")
  endif()
  string(REPLACE "\n.Os datum\n" "\n.Os datum ${version}\n" text "${text}")
  if(NOT see_also STREQUAL "")
    file(READ "${see_also}" section)
    foreach(heading IN ITEMS "SEE ALSO" "SIEHE AUCH")
      string(FIND "${text}" "\n.Sh ${heading}\n" at)
      if(NOT at EQUAL -1)
        break()
      endif()
    endforeach()
    if(at EQUAL -1)
      message(FATAL_ERROR "${page} has no SEE ALSO section to replace")
    endif()
    math(EXPR at "${at} + 1")
    string(SUBSTRING "${text}" 0 ${at} text)
    string(APPEND text "${section}")
  endif()
  file(WRITE "${output}" "${text}")
endfunction()

# datum_windows_examples(PAGE): the page's examples for a Windows user,
# who cannot type those of a Linux shell: of its EXAMPLES section only the
# subsection Windows, in the section's place.
function(datum_windows_examples page)
  file(READ "${page}" text)
  foreach(name IN ITEMS "EXAMPLES" "BEISPIELE")
    set(heading "\n.Sh ${name}\n")
    string(FIND "${text}" "${heading}" section)
    if(NOT section EQUAL -1)
      break()
    endif()
  endforeach()
  string(FIND "${text}" "\n.Ss Windows\n" windows)
  if(section EQUAL -1 OR windows LESS section)
    message(FATAL_ERROR "${page} has no subsection Windows in its examples")
  endif()
  string(LENGTH "${heading}" heading_length)
  math(EXPR section_end "${section} + ${heading_length}")
  string(SUBSTRING "${text}" 0 ${section_end} before)
  string(LENGTH "\n.Ss Windows\n" windows_length)
  math(EXPR windows_end "${windows} + ${windows_length}")
  string(SUBSTRING "${text}" ${windows_end} -1 after)
  file(WRITE "${page}" "${before}${after}")
endfunction()
