# Cross-compiling for 64-bit Windows with clang, on the headers, C++ library and linker of the
# posix-thread mingw-w64 gcc (cmake/mingw-w64.cmake's).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake)
set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
# The sysroot keeps the host's /usr/include out of the search.
set(CMAKE_SYSROOT /usr/${TOOLCHAIN_PREFIX})

# clang 14 does not find gcc's folder by itself: Debian names it after the thread model
# (12-posix), which clang does not read as a version. Ask gcc where it is, and give its C++
# library headers and its start files and libraries by hand.
execute_process(COMMAND ${TOOLCHAIN_PREFIX}-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE GCC_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(GCC_DIR "${GCC_LIBGCC}" DIRECTORY)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${GCC_DIR}/include/c++ ${GCC_DIR}/include/c++/${TOOLCHAIN_PREFIX} ${GCC_DIR}/include/c++/backward)
# The posix thread model's C++ library stands on winpthreads, which gcc links by itself.
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -B${GCC_DIR} -L${GCC_DIR} -pthread")
endforeach()
