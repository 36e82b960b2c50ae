# Shared build settings: every target links ruv_warnings.
add_library(ruv_warnings INTERFACE)
target_compile_options(ruv_warnings INTERFACE -Wall -Wextra)
if(RUV_SANITIZE)
  # UBSan stops the program at its first finding, so that the test fails.
  target_compile_options(ruv_warnings INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=undefined
                                                -fno-omit-frame-pointer
                                                # The sanitizers' code misleads these two into false
                                                # findings; the sanitizers check the same at run time.
                                                -Wno-maybe-uninitialized -Wno-array-bounds)
  target_link_options(ruv_warnings INTERFACE -fsanitize=address,undefined)
endif()

option(RUV_TEST_XVFB "Run each window test under its own Xvfb server" OFF)

include(GoogleTest)

# ruv_test_environment(<var> <name>)
# What every test runs with: its data and settings store, and a home folder
# of its own (with the XDG folders below it), so that nothing in the user's
# home, where the games and the documents folders are looked for, changes a
# result.
function(ruv_test_environment var name)
  set(home ${CMAKE_BINARY_DIR}/testdata/home/${name})
  file(MAKE_DIRECTORY ${home})
  set(${var} "RUVADIR_TEST_DATA=${CMAKE_BINARY_DIR}/testdata;RUVADIR_REGISTRY=${CMAKE_BINARY_DIR}/testdata/registry/${name};HOME=${home};XDG_CONFIG_HOME=${home}/.config;XDG_DATA_HOME=${home}/.local/share;XDG_CACHE_HOME=${home}/.cache" PARENT_SCOPE)
endfunction()

# ruv_add_gtest(<name> LABEL <label> SOURCES <files...> LIBS <targets...>)
# A GoogleTest binary whose cases are registered one by one with CTest.
function(ruv_add_gtest name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main ruv_warnings)
  ruv_test_environment(environment ${name})
  gtest_discover_tests(${name}
    PROPERTIES LABELS "${T_LABEL}"
               ENVIRONMENT "${environment}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# ruv_add_qttest(<name> [WINDOW_MANAGER] LABEL <label> SOURCES <files...> LIBS <targets...>)
# A QtTest binary with real windows: it needs a display (test.sh gives one).
# WINDOW_MANAGER runs it under a window manager of its own (see
# tests/with-window-manager.sh), for the tests in which focus, activation or
# secondary windows matter.
function(ruv_add_qttest name)
  cmake_parse_arguments(T "WINDOW_MANAGER" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test ruv_warnings)
  set(run $<TARGET_FILE:${name}>)
  if(T_WINDOW_MANAGER)
    set(run ${CMAKE_SOURCE_DIR}/tests/with-window-manager.sh ${run})
  endif()
  if(RUV_TEST_XVFB)
    add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${run})
  else()
    add_test(NAME ${name} COMMAND ${run})
  endif()
  if(NOT RUV_TEST_XVFB)
    # One display for all: windows that take the focus and keys typed for
    # real would reach each other's windows, so they take turns.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
  endif()
  ruv_test_environment(environment ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABEL}"
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;${environment}")
endfunction()

# ruv_folder_library(<name> <dir> [WIDGETS])
# A static library of every .cpp/.h in <dir>. While the folder holds no code
# yet the target is an empty interface, so that others can already link it.
function(ruv_folder_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
    file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${dir})
    target_link_libraries(${name} PRIVATE ruv_warnings)
    set(${name}_KIND PUBLIC PARENT_SCOPE)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${dir})
    set(${name}_KIND INTERFACE PARENT_SCOPE)
  endif()
endfunction()

# ruv_under_window_manager(<var> <stem> <stems...>)
# Sets <var> to WINDOW_MANAGER (the option of ruv_add_qttest) when <stem> is
# one of <stems>, else to nothing.
function(ruv_under_window_manager var stem)
  if(stem IN_LIST ARGN)
    set(${var} WINDOW_MANAGER PARENT_SCOPE)
  else()
    set(${var} "" PARENT_SCOPE)
  endif()
endfunction()

# ruv_folder_tests(<folder> <gtest libs> <qttest libs> [WINDOW_MANAGER <stems...>])
# One GoogleTest binary test_<folder> for every .cpp in the current folder;
# each ui/tst_*.cpp becomes a QtTest binary of its own (real windows). The
# stems named after WINDOW_MANAGER ("tst_FrmNotes") run under a window
# manager.
function(ruv_folder_tests folder gtest_libs qttest_libs)
  cmake_parse_arguments(F "" "" "WINDOW_MANAGER" ${ARGN})
  file(GLOB gtest_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(gtest_sources)
    ruv_add_gtest(test_${folder} LABEL ${folder} SOURCES ${gtest_sources} LIBS ${gtest_libs})
  endif()
  file(GLOB qttest_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/tst_*.cpp)
  foreach(src ${qttest_sources})
    get_filename_component(stem ${src} NAME_WE)
    ruv_under_window_manager(wm ${stem} ${F_WINDOW_MANAGER})
    ruv_add_qttest(test_${folder}_${stem} ${wm} LABEL ${folder} SOURCES ${src} LIBS ${qttest_libs})
  endforeach()
endfunction()
