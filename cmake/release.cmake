# kl_release_binary(TARGET): the program folder holds release binaries without debug
# information. After each link the debug information moves to BUILD/debug/NAME.debug, and
# the binary keeps only a debug link to it, so a trace can still be read beside the build.
set(KL_DEBUG_DIR ${CMAKE_BINARY_DIR}/debug)
function(kl_release_binary target)
  set(debug_file ${KL_DEBUG_DIR}/$<TARGET_FILE_NAME:${target}>.debug)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KL_DEBUG_DIR}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${debug_file}
    COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:${target}>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${debug_file} $<TARGET_FILE:${target}>
    COMMENT "Moving the debug information of ${target} to ${KL_DEBUG_DIR}"
    VERBATIM)
endfunction()
