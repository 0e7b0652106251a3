# kl_kernel_driver(TARGET): compiles and links a MODULE library as an NT kernel driver
# image: no C runtime, no start files, native subsystem, entry DriverEntry, no exports.
# The tree links everything with -static -static-libgcc -static-libstdc++ so that the
# program needs no runtime DLLs; a driver takes no runtime at all, so it starts afresh.
function(kl_kernel_driver target)
  set(ddk_places)
  foreach(root ${CMAKE_FIND_ROOT_PATH})
    list(APPEND ddk_places ${root}/include/ddk)
  endforeach()
  find_path(KL_DDK_INCLUDE ntddk.h PATHS ${ddk_places} /usr/share/mingw-w64/include/ddk
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED DOC "MinGW-w64 DDK headers (ntddk.h)")
  target_include_directories(${target} SYSTEM PRIVATE ${KL_DDK_INCLUDE})
  # The tree's Win32 version macros are for user mode; with them (XP) the DDK headers do
  # not compile, and a driver uses nothing that depends on them.
  get_directory_property(defs COMPILE_DEFINITIONS)
  list(FILTER defs EXCLUDE REGEX "^(WINVER|_WIN32_WINNT|_WIN32_IE)=")
  set_property(DIRECTORY PROPERTY COMPILE_DEFINITIONS ${defs})
  target_compile_options(${target} PRIVATE
    -ffreestanding -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -fno-stack-protector -mno-stack-arg-probe)
  # 32-bit kernel entry points are stdcall-decorated, 64-bit ones are not.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(entry DriverEntry)
  else()
    set(entry _DriverEntry@8)
  endif()
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX .sys LINK_OPTIONS
    "-nostdlib;-nostartfiles;-Wl,--subsystem,native;-Wl,--entry,${entry};-Wl,--exclude-all-symbols;-s")
endfunction()
