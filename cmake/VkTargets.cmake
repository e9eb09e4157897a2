# Small helpers so every folder declares its targets the same way.

# vk_library(name SOURCES ... [LIBS ...]): a static library of our own code.
function(vk_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${VK_WARNINGS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# vk_typelib(target idl): the type library, its C header and its GUIDs from an IDL file.
# `target` is a static library of the GUIDs whose users see the header; `target`_tlb
# builds the .tlb, which a DLL's resource script embeds (vk_embed_typelib).
function(vk_typelib target idl)
  get_filename_component(stem ${idl} NAME_WE)
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/generated)
  set(widl i686-w64-mingw32-widl --win32 -I/usr/include/wine/wine/windows
           -L/usr/lib/i386-linux-gnu/wine/i386-windows)
  file(MAKE_DIRECTORY ${gen})
  add_custom_command(
    OUTPUT ${gen}/${stem}.tlb ${gen}/${stem}.h ${gen}/${stem}_i.c
    COMMAND ${widl} -t -o ${gen}/${stem}.tlb ${idl}
    COMMAND ${widl} -h -o ${gen}/${stem}.h ${idl}
    COMMAND ${widl} -u -o ${gen}/${stem}_i.c ${idl}
    DEPENDS ${idl}
    COMMENT "widl ${stem}.idl")
  add_library(${target} STATIC ${gen}/${stem}_i.c)
  target_include_directories(${target} PUBLIC ${gen})
  add_custom_target(${target}_tlb DEPENDS ${gen}/${stem}.tlb)
  set_target_properties(${target} PROPERTIES VK_TLB ${gen}/${stem}.tlb VK_GENERATED ${gen})
endfunction()

# vk_embed_typelib(dll rc typelib): `dll`'s resource script `rc` embeds the .tlb that
# vk_typelib(`typelib` ...) makes; the DLL sees the type library's header too.
function(vk_embed_typelib dll rc typelib)
  get_target_property(tlb ${typelib} VK_TLB)
  get_target_property(gen ${typelib} VK_GENERATED)
  add_dependencies(${dll} ${typelib}_tlb)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${tlb})
  target_compile_options(${dll} PRIVATE $<$<COMPILE_LANGUAGE:RC>:-I${gen}>)
  target_link_libraries(${dll} PRIVATE ${typelib})
endfunction()

# vk_test(name SOURCES ... [LIBS ...] [ARGS ...] [FIXTURES ...]): a GoogleTest program run
# through Wine by CTest, after the fixture "registered" (tests/CMakeLists.txt). The
# program's own sources are optimized lightly (-Og), which halves their compile time;
# the libraries under test keep the build's optimization.
function(vk_test name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;FIXTURES;ARGS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${VK_WARNINGS} -Og)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}
                             ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest_main)
  vk_test_entry(${name} ${name} ARGS ${A_ARGS} TIMEOUT "${A_TIMEOUT}" FIXTURES ${A_FIXTURES})
endfunction()

# vk_test_entry(name program [ARGS ...] [TIMEOUT s] [FIXTURES ...]): a CTest entry that
# runs a test program in a session of its own (VK_TEST_SESSION), e.g. a slow case of
# it on its own so it runs beside the others.
function(vk_test_entry name program)
  cmake_parse_arguments(A "" "TIMEOUT" "ARGS;FIXTURES" ${ARGN})
  add_test(NAME ${name} COMMAND ${VK_TEST_SESSION} wine $<TARGET_FILE:${program}> ${A_ARGS}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${VK_TEST_ENV}" TIMEOUT ${A_TIMEOUT})
  if(name IN_LIST VK_LONG_TESTS)
    set_tests_properties(${name} PROPERTIES COST 10)
  endif()
  # Every session copies the prefix: the servers are registered there first.
  list(APPEND A_FIXTURES registered)
  list(REMOVE_DUPLICATES A_FIXTURES)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${A_FIXTURES}")
endfunction()

# vk_windows_path(out path): the Wine (Z:) path of a Linux path.
function(vk_windows_path out path)
  string(REPLACE "/" "\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()
