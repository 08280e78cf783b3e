# Copies the program's data (cfg.ini, Text/, examples) into the program folder at build
# time; a tree without data/ yet builds all the same. Manual pages and the shell
# completion are installed elsewhere, not read by the programs.
if(EXISTS "${SRC}")
  file(COPY "${SRC}/" DESTINATION "${DST}" PATTERN "man" EXCLUDE PATTERN "completion" EXCLUDE)
endif()
