# The profile reader against the system's own, run under Wine by
# scripts/differential: a console program, not shipped.
add_executable(profile_differential tests/differential/profile_differential.cpp)
target_link_libraries(profile_differential PRIVATE uninstall_core kernel32)
target_link_options(profile_differential PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(profile_differential PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
