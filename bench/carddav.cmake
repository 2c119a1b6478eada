# Cards into a real Radicale on loopback, as the CardDAV tests start it.
ordalis_add_bench(carddav LIBS ordalis_cli_lib Qt6::Network)
target_sources(bench_carddav PRIVATE ${PROJECT_SOURCE_DIR}/tests/carddav/RadicaleServer.cpp)
target_include_directories(bench_carddav PRIVATE ${PROJECT_SOURCE_DIR}/tests/carddav)
