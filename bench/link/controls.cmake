add_executable(bench_controls_polling ${CMAKE_CURRENT_LIST_DIR}/controlspolling.cpp)
target_include_directories(bench_controls_polling PRIVATE ${PROJECT_SOURCE_DIR}/tests/link)
target_compile_definitions(bench_controls_polling PRIVATE
    QX8_VIRTUAL_PROCESSOR_PATH="$<TARGET_FILE:VirtualQX8>")
target_link_libraries(bench_controls_polling PRIVATE qx8link qx8testharness)
