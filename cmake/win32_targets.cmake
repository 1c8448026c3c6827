# Win32: the plug-in DLL and the test host that loads it like an editor would.
# Static runtime so the DLL imports only Windows system DLLs.
set(GW_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/glwplug5_res.o
  COMMAND ${GW_WINDRES} -i ${GW_RES} -J res -O coff -o ${CMAKE_BINARY_DIR}/glwplug5_res.o
  DEPENDS ${GW_RES}
  VERBATIM)

file(GLOB GW_WIN32_VIEWS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/*_win32.cpp
     ${CMAKE_SOURCE_DIR}/ui/*_win32.cpp ${CMAKE_SOURCE_DIR}/controls/*_win32.cpp
     ${CMAKE_SOURCE_DIR}/materials/*_win32.cpp)
add_library(glwplug5 SHARED ${GW_WIN32_VIEWS} ${CMAKE_BINARY_DIR}/glwplug5_res.o
            ${CMAKE_SOURCE_DIR}/host/glwplug5.def)
set_target_properties(glwplug5 PROPERTIES PREFIX "" OUTPUT_NAME glwplug5)
target_link_libraries(glwplug5 PRIVATE gwcore comctl32 comdlg32 gdi32 user32 shell32 advapi32 ${GW_STATIC_RUNTIME})
target_link_options(glwplug5 PRIVATE -Wl,--enable-stdcall-fixup $<$<CONFIG:Release>:-s>)

file(GLOB GW_WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
# The test host also links the dialogs' views (not the exports or the main
# dialog) so it can run a dialog such as the gradient editor by itself over
# the DLL's resources.
file(GLOB GW_WIN32_DIALOG_VIEWS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/ui/*_win32.cpp
     ${CMAKE_SOURCE_DIR}/controls/*_win32.cpp)
add_executable(gw_win32_tests ${GW_WIN32_TEST_SOURCES} ${GW_WIN32_DIALOG_VIEWS})
target_include_directories(gw_win32_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(gw_win32_tests PRIVATE gwcore comctl32 comdlg32 gdi32 user32 shell32 ${GW_STATIC_RUNTIME})
add_dependencies(gw_win32_tests glwplug5)

# Dialogs the test host runs by themselves find their templates in the
# host's own resources, linked from the plug-in's.
target_sources(gw_win32_tests PRIVATE ${CMAKE_BINARY_DIR}/glwplug5_res.o)
