# Writes OUT, a C++ source holding README's "## User guide" section (the
# text after its heading, up to the next "## " heading) as UserGuideMarkdown(),
# so the guide the editor shows is always the README's.
file(READ "${README}" readme)
string(FIND "${readme}" "\n## User guide\n" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${README} has no \"## User guide\" section")
endif()
string(LENGTH "\n## User guide\n" heading)
math(EXPR start "${start} + ${heading}")
string(SUBSTRING "${readme}" ${start} -1 section)
string(FIND "${section}" "\n## " end)
if(NOT end EQUAL -1)
  math(EXPR end "${end} + 1")
  string(SUBSTRING "${section}" 0 ${end} section)
endif()
if(section MATCHES "\\)GUIDE\"")
  message(FATAL_ERROR "the user guide holds the text )GUIDE\"")
endif()
file(WRITE "${OUT}.tmp" "// Made from README.md when the editor is built; do not edit.
#include \"dialogs/HelpDialogs.h\"

const char* UserGuideMarkdown() {
  return R\"GUIDE(${section})GUIDE\";
}
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
