ordalis_add_bench(recognition LIBS ordalis_recognition ordalis_support)
ordalis_add_bench(recognition_cli LIBS ordalis_recognition ordalis_support Qt6::Core)
target_compile_definitions(bench_recognition_cli PRIVATE ORDALIS_CLI="$<TARGET_FILE:ordalis-cli>")
add_dependencies(bench_recognition_cli ordalis-cli)
