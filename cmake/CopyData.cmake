# Copies the program's data (cfg.ini, Text/, examples) into the program folder at build
# time; a tree without data/ yet builds all the same.
if(EXISTS "${SRC}")
  file(COPY "${SRC}/" DESTINATION "${DST}")
endif()
