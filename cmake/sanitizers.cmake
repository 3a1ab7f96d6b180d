# Sanitizer builds of the host tests, chosen with -DSANITIZE=<kind> (scripts/sanitize):
#   address: AddressSanitizer with UndefinedBehaviorSanitizer, every test (build/asan)
#   thread:  ThreadSanitizer, the tests that start threads (build/tsan)
# Every finding stops the test that made it: nothing is only printed. Included
# after the tests are globbed, so that the thread build can keep only its own.
set(SANITIZE "" CACHE STRING "Sanitizers for the host build: empty, address or thread")
if(SANITIZE STREQUAL "address")
  set(SANITIZER_FLAGS "-fsanitize=address,undefined -fno-sanitize-recover=all")
elseif(SANITIZE STREQUAL "thread")
  set(SANITIZER_FLAGS "-fsanitize=thread")
  # Only a test that starts threads can show a race; the others would only make
  # the build longer.
  set(THREADED_TEST_SOURCES "")
  foreach(source ${TEST_SOURCES})
    file(STRINGS ${source} starts_threads REGEX "std::thread|std::async")
    if(starts_threads)
      list(APPEND THREADED_TEST_SOURCES ${source})
    endif()
  endforeach()
  set(TEST_SOURCES ${THREADED_TEST_SOURCES})
elseif(NOT SANITIZE STREQUAL "")
  message(FATAL_ERROR "SANITIZE must be empty, address or thread, not '${SANITIZE}'")
endif()
if(SANITIZER_FLAGS)
  # For the whole directory, so the core made before this file gets them too. No
  # optimisation and line tables only: these builds are made on every CI run, and
  # the reports still name file and line.
  foreach(lang C CXX)
    string(APPEND CMAKE_${lang}_FLAGS " ${SANITIZER_FLAGS} -O0 -g1 -fno-omit-frame-pointer")
  endforeach()
  string(APPEND CMAKE_EXE_LINKER_FLAGS " ${SANITIZER_FLAGS}")
endif()
