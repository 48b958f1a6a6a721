# tec_library(<target> [DEPS <targets>...] [PRIVATE_DEPS <targets>...])
# Builds every .cpp of the calling folder into one static library.  The
# folder's parent is the include root, so headers are included as
# "compute/BesselSE.h" or "platform/rtl/Strings.h".
function(tec_library target)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_library(${target} STATIC ${sources} ${headers})
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# tec_test(<name> SOURCES <files>... DEPS <targets>...)
# One GoogleTest executable; every test case becomes its own CTest test.
function(tec_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} tec_testmain)
  # The test code itself is compiled lightly (it builds in less than half the
  # time); the libraries it exercises keep their full optimisation.
  target_compile_options(${name} PRIVATE $<$<CONFIG:RelWithDebInfo>:-Og -g1>)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/tests"
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=UTC")
endfunction()
