# Writes a program's man page from its --help and --version with help2man, then gzips it.
#   cmake -DHELP2MAN=... -DPROGRAM=<built program> -DNAME=<one-line summary>
#         -DINCLUDE=<.h2m file> -DOUTPUT=<page>.1.gz -P help2man.cmake
# help2man renders each indented block of the help as one filled paragraph; the help's
# indented blocks (usage forms, output lines, examples) are line by line, so they are set
# unfilled here.
get_filename_component(program_name ${PROGRAM} NAME)
string(REGEX REPLACE "\\.gz$" "" page ${OUTPUT})
execute_process(
  COMMAND ${HELP2MAN} --locale=C.UTF-8 --no-info --name=${NAME} --include=${INCLUDE}
          --output=${page} ${PROGRAM}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${program_name}")
endif()

file(READ ${page} text)
string(REPLACE "-" "\\\\-" roff_name ${program_name})  # as roff writes it: panlift\-cli
# The help's second usage form comes out as the description's first paragraph; the
# include file's SYNOPSIS carries both forms.
string(REGEX REPLACE "(\\.SH DESCRIPTION\n)\\.IP\n${roff_name}[^\n]*\n\\.PP\n" "\\1" text "${text}")
# Each remaining indented block: one line per line.
string(REGEX REPLACE "\\.IP\n(([^.\n][^\n]*\n)+)" ".IP\n.nf\n\\1.fi\n" text "${text}")
file(WRITE ${page} "${text}")

file(REMOVE ${OUTPUT})
execute_process(COMMAND gzip -n -9 ${page} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gzip failed for ${page}")
endif()
