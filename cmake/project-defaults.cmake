# Build hygiene in one place: language level, warnings, sanitizers, test helper.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

add_compile_options(-Wall -Wextra)

option(SKIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(SKIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

option(SKIN_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
if(SKIN_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(SKIN_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# skin_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest program; its cases run as separate ctest entries.
function(skin_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  # Fixtures every test folder may use: temporary directories, loopback
  # servers, child processes.
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE
    TEST_BINARY_DIR="${CMAKE_BINARY_DIR}" TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # Windows stay in memory unless a test asks for the real display itself.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 ENVIRONMENT PLATFORM_DISPLAY=headless)
endfunction()
