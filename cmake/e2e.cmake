# End-to-end test tools for Wine (64-bit builds only): the fixtures that stand in
# for the vendor's and the system's programs, the machine preparation and the
# driver that works the program's dialogs. None of them is shipped. Wine runs
# only 64-bit programs on hosts without 32-bit support, so the 32-bit build skips them.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  return()
endif()

set(E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)
set(E2E_OUTPUT ${CMAKE_BINARY_DIR}/e2e)

function(e2e_target target)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${E2E_OUTPUT}
    LIBRARY_OUTPUT_DIRECTORY ${E2E_OUTPUT}
    PREFIX "")
endfunction()

add_library(e2e_port_monitor SHARED ${E2E_DIR}/fixtures/port_monitor.cpp)
e2e_target(e2e_port_monitor)

add_library(ZiZudUru SHARED ${E2E_DIR}/fixtures/zizuduru.cpp)
e2e_target(ZiZudUru)

add_executable(e2e_usb_install WIN32 ${E2E_DIR}/fixtures/usb_install.cpp)
e2e_target(e2e_usb_install)
set_target_properties(e2e_usb_install PROPERTIES OUTPUT_NAME Install)

add_executable(titled_window ${E2E_DIR}/fixtures/titled_window.cpp)
e2e_target(titled_window)

file(GLOB E2E_PREPARE_SOURCES CONFIGURE_DEPENDS ${E2E_DIR}/prepare/*.cpp)
add_executable(prepare ${E2E_PREPARE_SOURCES})
target_link_libraries(prepare PRIVATE winspool advapi32)
e2e_target(prepare)
# The monitor DLL is copied from prepare.exe's folder.
add_dependencies(prepare e2e_port_monitor)

file(GLOB E2E_UIDRIVER_SOURCES CONFIGURE_DEPENDS ${E2E_DIR}/uidriver/*.cpp)
if(E2E_UIDRIVER_SOURCES)
  add_executable(uidriver ${E2E_UIDRIVER_SOURCES})
  target_link_libraries(uidriver PRIVATE user32 shell32)
  target_include_directories(uidriver PRIVATE ${CMAKE_SOURCE_DIR})
  e2e_target(uidriver)
endif()
