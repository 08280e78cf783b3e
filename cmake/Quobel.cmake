# Build helpers shared by every layer.
#
# A layer is one static library made of every .cpp below src/<name>/, so adding a
# file needs no edit here. Layers below ui/ must not link Qt: quobel_add_layer
# refuses a Qt dependency unless the layer is declared QT.

function(quobel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
  if(QUOBEL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    # GCC 12 at -O2 and above reports these inside libstdc++'s own string and stream
    # code (memcpy overlap, streambuf null pointers) where nothing is wrong; they stay
    # warnings there so optimised builds still build.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-error=restrict -Wno-error=null-dereference)
    endif()
  endif()
endfunction()

if(QUOBEL_FUZZ)
  # Instrument the layers too, so that the fuzzers see coverage inside the code they test.
  # Stop at the first undefined behaviour, so that the fuzzer keeps it as a crash.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(QUOBEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(QUOBEL_TSAN)
  if(QUOBEL_SANITIZE)
    message(FATAL_ERROR "QUOBEL_TSAN and QUOBEL_SANITIZE cannot be combined")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# SYSTEM names files below src/<name>/ that talk to the system's own libraries
# (SYSTEM_DEPS); they go into quobel_<name>_system, which only the programs and the
# tests that need them link, so the layers above do not pull those libraries in.
function(quobel_add_layer name)
  cmake_parse_arguments(L "QT" "" "DEPS;SYSTEM;SYSTEM_DEPS" ${ARGN})
  if(NOT L_QT)
    foreach(dep IN LISTS L_DEPS L_SYSTEM_DEPS)
      if(dep MATCHES "^Qt")
        message(FATAL_ERROR "layer ${name} is below ui/ and must not link ${dep}")
      endif()
    endforeach()
  endif()
  set(dir ${CMAKE_SOURCE_DIR}/src/${name})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${dir}/*.h)
  set(system_sources "")
  set(system_headers "")
  foreach(file IN LISTS L_SYSTEM)
    if(NOT EXISTS ${dir}/${file})
      message(FATAL_ERROR "layer ${name}: SYSTEM file ${file} does not exist")
    endif()
    list(APPEND system_sources ${dir}/${file})
    string(REGEX REPLACE "\\.cpp$" ".h" header ${dir}/${file})
    if(EXISTS ${header} AND NOT header STREQUAL ${dir}/${file})
      list(APPEND system_headers ${header})
    endif()
  endforeach()
  if(system_sources)
    list(REMOVE_ITEM sources ${system_sources})
    list(REMOVE_ITEM headers ${system_headers})
  endif()
  if(NOT sources)
    # A layer that has only headers so far.
    add_library(quobel_${name} INTERFACE)
    target_include_directories(quobel_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(quobel_${name} INTERFACE ${L_DEPS})
  else()
    add_library(quobel_${name} STATIC ${sources} ${headers})
    target_include_directories(quobel_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(quobel_${name} PUBLIC ${L_DEPS})
    quobel_warnings(quobel_${name})
    if(L_QT)
      set_target_properties(quobel_${name} PROPERTIES AUTOMOC ON)
    endif()
  endif()
  if(system_sources)
    add_library(quobel_${name}_system STATIC ${system_sources} ${system_headers})
    target_link_libraries(quobel_${name}_system PUBLIC quobel_${name} ${L_SYSTEM_DEPS})
    quobel_warnings(quobel_${name}_system)
  endif()
endfunction()

# Tests of a layer: every *_test.cpp below tests/<layer>/ in one GoogleTest program.
function(quobel_add_layer_tests layer)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${layer}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  file(GLOB_RECURSE helpers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${layer}/*_fixture.cpp)
  add_executable(test_${layer} ${sources} ${helpers})
  set_target_properties(test_${layer} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(layer STREQUAL "tools")
    target_link_libraries(test_${layer} PRIVATE quobel_device quobel_sim)
    add_dependencies(test_${layer} quobelctl quobel_data)
  elseif(layer STREQUAL "device")
    # The device code is tested against the simulated devices.
    target_link_libraries(test_${layer} PRIVATE quobel_device quobel_sim)
  elseif(layer STREQUAL "ui")
    target_link_libraries(test_${layer} PRIVATE quobel_ui Qt6::Test)
    set_target_properties(test_${layer} PROPERTIES AUTOMOC ON)
    if(TARGET quobel_skin)
      add_dependencies(test_${layer} quobel_skin quobel_data)
    endif()
  else()
    target_link_libraries(test_${layer} PRIVATE quobel_${layer})
  endif()
  if(layer MATCHES "^(platform|sim)$")
    # The real HID, udev and pointer backends, and their contract against the simulated one.
    target_link_libraries(test_${layer} PRIVATE quobel_platform_system)
  endif()
  target_link_libraries(test_${layer} PRIVATE GTest::gmock_main)
  target_include_directories(test_${layer} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(test_${layer} PRIVATE
    QUOBEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    QUOBEL_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    QUOBEL_PROGRAM_DIR="${QUOBEL_PROGRAM_DIR}")
  quobel_warnings(test_${layer})
  gtest_discover_tests(test_${layer} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
