# keyloom.exe and the program folder it lives in.
get_property(KL_APP_SOURCES GLOBAL PROPERTY KL_APP_SOURCES)
if(KL_APP_SOURCES)
  add_executable(keyloom WIN32 ${KL_APP_SOURCES})
  target_link_libraries(keyloom PRIVATE kl_win kl_logic kl_win kl_logic ${KL_WIN_LIBS})
  set_target_properties(keyloom PROPERTIES OUTPUT_NAME keyloom RUNTIME_OUTPUT_DIRECTORY ${KL_PROGRAM_DIR})
  kl_release_binary(keyloom)
endif()

# The key-assignment (and later panel-layout) templates beside the program.
file(GLOB KL_TEMPLATES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Templates/*)
add_custom_target(kl_templates ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KL_PROGRAM_DIR}/Templates
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/Templates ${KL_PROGRAM_DIR}/Templates
  DEPENDS ${KL_TEMPLATES}
  COMMENT "Copying templates into the program folder")
