# Host build: the core, the simulated machine and the unit tests.
file(GLOB HOST_SOURCES CONFIGURE_DEPENDS platform/host/*.cpp)
target_sources(uninstall_core PRIVATE ${HOST_SOURCES})

file(GLOB SIM_SOURCES CONFIGURE_DEPENDS platform/sim/*.cpp)
add_library(uninstall_sim STATIC ${SIM_SOURCES})
target_link_libraries(uninstall_sim PUBLIC uninstall_core)

enable_testing()
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
file(GLOB TEST_SOURCES CONFIGURE_DEPENDS tests/*.cpp)
include(${CMAKE_SOURCE_DIR}/cmake/sanitizers.cmake)
add_executable(unit_tests ${TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE uninstall_sim GTest::gtest GTest::gtest_main Threads::Threads)
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)
