# libquorvel: the C interface of include/quorvel/quorvel.h over the library, the engine and the
# request, as a shared and a static library that show nothing else, with the files that let
# other programs find them through CMake and pkg-config.

# The three subsystems compiled once more, position-independent and with hidden symbols, so that
# either library can go into any program or shared object. Link-time optimisation stays off here:
# a static library must hold plain object code.
set(quorvel_embedded_sources "")
foreach(part quorvel_library quorvel_engine quorvel_request)
    get_target_property(part_dir ${part} SOURCE_DIR)
    get_target_property(part_sources ${part} SOURCES)
    list(TRANSFORM part_sources PREPEND "${part_dir}/")
    list(APPEND quorvel_embedded_sources ${part_sources})
endforeach()
add_library(quorvel_objects OBJECT ${quorvel_embedded_sources})
target_include_directories(quorvel_objects PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(quorvel_objects PRIVATE QUORVEL_VERSION="${PROJECT_VERSION}")
# Inline variables become plain weak symbols, which the static library can make local.
target_compile_options(quorvel_objects PRIVATE $<$<CXX_COMPILER_ID:GNU>:-fno-gnu-unique>)
set_target_properties(quorvel_objects PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)

set(quorvel_public_include
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

add_library(quorvel_shared SHARED $<TARGET_OBJECTS:quorvel_objects>)
target_include_directories(quorvel_shared INTERFACE ${quorvel_public_include})
# The version script exports the C interface alone, under one version node.
target_link_options(quorvel_shared PRIVATE
    "LINKER:--version-script=${CMAKE_CURRENT_SOURCE_DIR}/libquorvel.map")
set_target_properties(quorvel_shared PROPERTIES
    OUTPUT_NAME quorvel
    EXPORT_NAME quorvel
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    LINK_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/libquorvel.map")
add_library(Quorvel::quorvel ALIAS quorvel_shared)

# The static library holds one object in which only the C interface stays global: every other
# symbol is made local after a relocatable link, so the engine's own names cannot clash with a
# program's.
set(quorvel_static_object ${CMAKE_CURRENT_BINARY_DIR}/quorvel_embedded.o)
add_custom_command(OUTPUT ${quorvel_static_object}
    COMMAND ${CMAKE_LINKER} -r -o ${quorvel_static_object} $<TARGET_OBJECTS:quorvel_objects>
    COMMAND ${CMAKE_OBJCOPY} --wildcard --keep-global-symbol=quorvel_* --remove-section=.comment
            ${quorvel_static_object}
    DEPENDS quorvel_objects $<TARGET_OBJECTS:quorvel_objects>
    COMMAND_EXPAND_LISTS VERBATIM)
add_library(quorvel_static STATIC ${quorvel_static_object})
target_include_directories(quorvel_static INTERFACE ${quorvel_public_include})
# What the shared library records as needed, a static one leaves to the program: C programs too.
target_link_libraries(quorvel_static INTERFACE stdc++ m)
set_target_properties(quorvel_static PROPERTIES
    OUTPUT_NAME quorvel EXPORT_NAME quorvel_static LINKER_LANGUAGE CXX)
add_library(Quorvel::quorvel_static ALIAS quorvel_static)

include(CMakePackageConfigHelpers)
set(quorvel_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Quorvel)

install(TARGETS quorvel_shared EXPORT QuorvelTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT libquorvel1
    NAMELINK_COMPONENT libquorvel-dev)
install(TARGETS quorvel_static EXPORT QuorvelTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT libquorvel-dev)
install(FILES ${PROJECT_SOURCE_DIR}/include/quorvel/quorvel.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quorvel COMPONENT libquorvel-dev)
install(EXPORT QuorvelTargets NAMESPACE Quorvel:: DESTINATION ${quorvel_cmake_dir}
    COMPONENT libquorvel-dev)

configure_package_config_file(QuorvelConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/QuorvelConfig.cmake INSTALL_DESTINATION ${quorvel_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuorvelConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QuorvelConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/QuorvelConfigVersion.cmake
    DESTINATION ${quorvel_cmake_dir} COMPONENT libquorvel-dev)

# The prefix is known only when installing (cmake --install --prefix, or the package's /usr), so
# quorvel.pc is written then.
set(quorvel_pc_template ${CMAKE_CURRENT_SOURCE_DIR}/quorvel.pc.in)
set(quorvel_pc ${CMAKE_CURRENT_BINARY_DIR}/quorvel.pc)
install(CODE "
    set(QUORVEL_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
    set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
    set(PROJECT_VERSION \"${PROJECT_VERSION}\")
    set(PROJECT_DESCRIPTION \"${PROJECT_DESCRIPTION}\")
    configure_file(\"${quorvel_pc_template}\" \"${quorvel_pc}\" @ONLY)
    " COMPONENT libquorvel-dev)
install(FILES ${quorvel_pc} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT libquorvel-dev)
