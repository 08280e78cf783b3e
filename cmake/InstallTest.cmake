# Installs the build into a temporary root (DESTDIR, prefix /usr) and runs the installed
# programs from there, so they must find the program folder by the installed layout.
#   cmake -DBUILD=<build dir> -DROOT=<temp root> -DLIST=<installed-files> -DWINDOW=0|1 -P InstallTest.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${ROOT}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT} ${CMAKE_COMMAND} --install "${BUILD}" --prefix /usr
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/CheckInstalledFiles.cmake)

# The installed programs, with a home and data folder of their own. This test is about
# the layout: in the sanitizer build the leak check stays with the tests of the code (Qt
# and fontconfig keep caches for the life of a window process), the other checks stay on.
set(home "${ROOT}/home")
file(MAKE_DIRECTORY "${home}/data" "${home}/run" "${home}/tmp")
file(CHMOD "${home}/run" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(env ${CMAKE_COMMAND} -E env HOME=${home} XDG_DATA_HOME=${home}/data XDG_CONFIG_HOME=${home}/config
        XDG_RUNTIME_DIR=${home}/run TMPDIR=${home}/tmp QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0)
set(ctl "${ROOT}/usr/bin/quobelctl")

execute_process(COMMAND ${env} ${ctl} --simulate config show --json
                RESULT_VARIABLE rc OUTPUT_VARIABLE json ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed quobelctl config show failed (${rc}): ${err}")
endif()
string(JSON folder GET "${json}" options programFolder)
if(NOT folder STREQUAL "${ROOT}/usr/share/quobel/")
  message(FATAL_ERROR "installed quobelctl reads the program folder ${folder}, not ${ROOT}/usr/share/quobel/")
endif()

execute_process(COMMAND ${env} ${ctl} config check RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed configuration has errors (${rc}): ${out}${err}")
endif()

execute_process(COMMAND ${env} ${ctl} --simulate apply RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed quobelctl --simulate apply failed (${rc}): ${out}${err}")
endif()
if(NOT EXISTS "${home}/data/quobel/pro.dct")
  message(FATAL_ERROR "installed quobelctl apply kept no profiles in ${home}/data/quobel/")
endif()

# The window renders its named states from the installed program folder.
if(WINDOW)
  set(shots "${ROOT}/screenshots")
  execute_process(COMMAND ${env} "${ROOT}/usr/bin/quobel" --simulate --screenshot "${shots}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "installed quobel --simulate --screenshot failed (${rc}): ${out}${err}")
  endif()
  file(GLOB pictures "${shots}/*.png")
  list(LENGTH pictures count)
  if(count EQUAL 0 OR NOT EXISTS "${shots}/main-mouse.png")
    message(FATAL_ERROR "installed quobel wrote ${count} pictures into ${shots}, without main-mouse.png")
  endif()
  message(STATUS "installed quobel rendered ${count} pictures")
endif()

message(STATUS "installed into ${ROOT}; the installed programs ran from there")
