# Settings shared by the program's own targets (never by GoogleTest).

# Texts are GBK bytes end to end: literals in the UTF-8 sources compile to
# code page 936. clang knows no other execution charset than UTF-8, so the
# fuzz build (clang) leaves it out; its targets look for crashes, not bytes.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(QIJUAN_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=GBK)
else()
  set(QIJUAN_CHARSET_FLAGS)
endif()

set(QIJUAN_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)

function(qijuan_target target)
  target_compile_options(${target} PRIVATE ${QIJUAN_CHARSET_FLAGS} -Wall -Wextra)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(QIJUAN_SANITIZE AND NOT WIN32)
    target_compile_options(${target} PRIVATE ${QIJUAN_SANITIZE_FLAGS})
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(QIJUAN_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX
        _WIN32_WINNT=0x0601 WINVER=0x0601)
    target_link_options(${target} PUBLIC -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# A library of one folder: every .cpp in it. Files named *_win.cpp hold the
# Win32 parts and are left out of a build for another host.
function(qijuan_folder_library target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT WIN32)
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  # A folder's main.cpp is a program's entry point, not part of its library.
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    # A folder whose code is still to come: nothing to compile yet.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    if(ARGN)
      target_link_libraries(${target} INTERFACE ${ARGN})
    endif()
    return()
  endif()
  add_library(${target} STATIC ${sources})
  qijuan_target(${target})
  if(ARGN)
    target_link_libraries(${target} PUBLIC ${ARGN})
  endif()
endfunction()
