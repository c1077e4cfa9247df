# The fuzz targets: clang's libFuzzer over the rules they reach, with AddressSanitizer and UBSan,
# in a build folder of their own (tests/fuzz/run).
set(rules app/text_format checks/accounts/device_property_text checks/local/calendar checks/local/secure_screen_saver
  checks/local/windows_auto_update checks/network/decimal_text checks/network/dns_lookup checks/network/multipart_body
  checks/network/network_speed checks/network/upload_benchmark checks/network/wininet_timeouts platform/registry_text
  report/html_report)
list(TRANSFORM rules REPLACE "(.+)" "${CMAKE_SOURCE_DIR}/src/\\1.cpp")
add_compile_options(-O1 -g -fno-omit-frame-pointer -fno-sanitize-recover=undefined -fsanitize=address,undefined,fuzzer-no-link)
add_library(kavlo_fuzz_rules STATIC ${rules})
target_include_directories(kavlo_fuzz_rules PUBLIC ${KAVLO_INCLUDE_DIRS})
set_target_properties(kavlo_core PROPERTIES EXCLUDE_FROM_ALL ON)  # the rules above are all the targets need
foreach(target reply dns_answer html_report registry_device)
  add_executable(${target}_fuzz ${CMAKE_CURRENT_LIST_DIR}/${target}_fuzz.cpp)
  target_link_libraries(${target}_fuzz PRIVATE kavlo_fuzz_rules Threads::Threads -fsanitize=fuzzer,address,undefined)
endforeach()
