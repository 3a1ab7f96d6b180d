# Windows build: the core on the real API, and Uninstall.exe.
enable_language(RC)
file(GLOB WIN32_PLATFORM_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
target_sources(uninstall_core PRIVATE ${WIN32_PLATFORM_SOURCES})
target_compile_definitions(uninstall_core PUBLIC WINVER=0x0601 _WIN32_WINNT=0x0601)

file(GLOB APP_WIN32_SOURCES CONFIGURE_DEPENDS app/win32/*.cpp)
file(GLOB RES_SOURCES CONFIGURE_DEPENDS res/*.rc)
# The resource script names its icons and manifest relative to res/.
file(GLOB RES_FILES CONFIGURE_DEPENDS res/*.ico res/*.manifest res/*.h)
set_property(SOURCE ${RES_SOURCES} APPEND PROPERTY INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/res)
set_property(SOURCE ${RES_SOURCES} APPEND PROPERTY OBJECT_DEPENDS ${RES_FILES})
add_executable(Uninstall WIN32 ${APP_WIN32_SOURCES} ${RES_SOURCES})
target_link_libraries(Uninstall PRIVATE uninstall_core winspool advapi32 shell32 user32 gdi32 comctl32 kernel32)
target_link_options(Uninstall PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(Uninstall PROPERTIES OUTPUT_NAME Uninstall RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Smoke run of the Windows backend: a console program that prints what the real
# API (or Wine) answers and fails when a basic expectation is not met.
add_executable(win32_smoke tools/win32_smoke.cpp)
target_link_libraries(win32_smoke PRIVATE uninstall_core winspool advapi32 shell32 user32 kernel32)
target_link_options(win32_smoke PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(win32_smoke PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
include(cmake/differential.cmake)
include(cmake/e2e.cmake)
