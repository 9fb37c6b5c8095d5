# A static library made of the .cpp files its source folders hold (one
# folder, or a folder and its parts: tm_library(tm_grid grid grid/paint ...)),
# so adding a file never needs a CMake edit.  Folders without sources yet
# make an interface library, which keeps dependants linkable.
function(tm_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  set(sources "")
  set(headers "")
  foreach(dir ${ARG_UNPARSED_ARGUMENTS})
    file(GLOB dir_sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.qrc)
    file(GLOB dir_headers CONFIGURE_DEPENDS ${dir}/*.h)
    list(APPEND sources ${dir_sources})
    list(APPEND headers ${dir_headers})
  endforeach()
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One test program per library, made of its test folders (they mirror the
# library's source folders); every TEST() becomes a CTest case.
function(tm_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  set(sources "")
  foreach(dir ${ARG_UNPARSED_ARGUMENTS})
    file(GLOB dir_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    TM_SHARED_DIR="${TM_SHARED_DIR}"
    TM_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60)
endfunction()
