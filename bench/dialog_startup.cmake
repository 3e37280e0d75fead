# quorvel-startup: launch-to-shown time and peak memory of the dialog, measured from outside with a
# probe preloaded into it.
if(TARGET quorvel)
    find_package(Qt6 REQUIRED COMPONENTS Gui)
    add_library(quorvel_startup_probe MODULE startup_probe.cpp)
    target_link_libraries(quorvel_startup_probe PRIVATE Qt6::Gui)

    add_executable(quorvel-startup startup_main.cpp)
    target_link_libraries(quorvel-startup PRIVATE quorvel_bench_support)
    target_compile_definitions(quorvel-startup PRIVATE
        QUORVEL_DIALOG_PATH="$<TARGET_FILE:quorvel>"
        QUORVEL_STARTUP_PROBE="$<TARGET_FILE:quorvel_startup_probe>")
    add_dependencies(quorvel-startup quorvel quorvel_startup_probe)

    add_test(NAME quorvel_startup_smoke COMMAND quorvel-startup --runs=1)
endif()
