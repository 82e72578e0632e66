# Setup.exe: a Windows GUI-subsystem executable that runs on a bare Windows,
# so the C++ run time and libgcc are linked in statically, and that carries
# its icon, manifest and version block.
enable_language(RC)

add_executable(Setup WIN32
  app/the_app.cpp
  framework/no_demangler.cpp
  framework/winmain.cpp
  res/Setup.rc
)
target_link_libraries(Setup PRIVATE launcher ole32 advapi32 user32)
target_link_options(Setup PRIVATE
  -static
  -static-libgcc
  -static-libstdc++
  -s
  -Wl,--gc-sections
  # No link time stamp in the headers, so two builds of one commit are the
  # same file.
  -Wl,--no-insert-timestamp
)
target_compile_options(launcher PRIVATE -ffunction-sections -fdata-sections)
target_compile_options(Setup PRIVATE -ffunction-sections -fdata-sections)
set_target_properties(Setup PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The resource script names its files relative to res/. As an include folder
# rather than a flag string, so that a source path with blanks stays whole.
target_include_directories(Setup PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/res>)

# The executable as shipped: subsystem, imported DLLs and resources.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(TOLMO_ARCH x64)
else()
  set(TOLMO_ARCH x86)
endif()
enable_testing()
add_test(NAME executable_file
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check_pe.py $<TARGET_FILE:Setup> --arch ${TOLMO_ARCH})

# Signing (target "signed", never built by default): Setup.exe signed with the
# user's certificate and key into signed/Setup.exe. They come from these cache
# variables, or when those are empty from the environment variables of the
# same names (see scripts/sign.sh).
set(TOLMO_SIGN_CERT "" CACHE FILEPATH "Code-signing certificate for the target 'signed'")
set(TOLMO_SIGN_KEY "" CACHE FILEPATH "Private key of the code-signing certificate")
set(sign_options "")
if(TOLMO_SIGN_CERT)
  list(APPEND sign_options --cert ${TOLMO_SIGN_CERT})
endif()
if(TOLMO_SIGN_KEY)
  list(APPEND sign_options --key ${TOLMO_SIGN_KEY})
endif()
add_custom_target(signed
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/sign.sh ${sign_options} $<TARGET_FILE:Setup> ${CMAKE_BINARY_DIR}/signed/Setup.exe
  DEPENDS Setup
  VERBATIM)

# Tests that run or rebuild the 64-bit file; only 64-bit Windows programs run
# here (under wine64).
if(TOLMO_ARCH STREQUAL "x64")
  # Setup.exe on Wine, end to end.
  add_subdirectory(tests/wine)

  # A second release build of the same sources, from and into other folders,
  # gives this very file.
  add_test(NAME reproducible_build
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/check_reproducible.sh ${CMAKE_BINARY_DIR}/reproducible $<TARGET_FILE:Setup>)

  # The signing step with a throwaway certificate, and the signed file run
  # under Wine.
  add_test(NAME signed_file
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/check_signing.sh $<TARGET_FILE:Setup> ${CMAKE_BINARY_DIR}/signing)
endif()
