# The release: the Linux, Windows and web editions, each configured from this source with its
# own toolchain in a folder of its own, built without tests and packaged; then every package
# gathered here with SHA256SUMS and a bill of materials each (gather.py). Every build step runs
# with SOURCE_DATE_EPOCH set to the time of the last commit, so that the same commit gives the
# same bytes wherever and whenever it is built.
include(ExternalProject)
enable_testing()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git log -1 --format=%ct
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE no_history ERROR_QUIET)
    if(no_history OR epoch STREQUAL "")
        message(FATAL_ERROR "The release takes its time from the last commit: build it from a "
                            "git checkout, or set SOURCE_DATE_EPOCH")
    endif()
endif()
message(STATUS "Release time (SOURCE_DATE_EPOCH): ${epoch}")

find_program(DEBIAN_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(in_release_environment ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch} TZ=UTC
    NODE_PATH=/usr/share/nodejs)
set(edition_options -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELANDRA_TESTS=OFF
    -DVELANDRA_REPRODUCIBLE=ON -DVELANDRA_VALGRIND=OFF)

set(VELANDRA_SIGNING_CERTIFICATE "" CACHE FILEPATH
    "PKCS#12 file with the certificate and key that sign the Windows program and MSI")
set(VELANDRA_SIGNING_PASSWORD_FILE "" CACHE FILEPATH "File holding the certificate's password")
set(VELANDRA_TIMESTAMP_URL "" CACHE STRING "Time-stamping server for the signatures (optional)")
set(signing_options
    -DVELANDRA_SIGNING_CERTIFICATE=${VELANDRA_SIGNING_CERTIFICATE}
    -DVELANDRA_SIGNING_PASSWORD_FILE=${VELANDRA_SIGNING_PASSWORD_FILE}
    -DVELANDRA_TIMESTAMP_URL=${VELANDRA_TIMESTAMP_URL})

function(add_edition name)
    cmake_parse_arguments(PARSE_ARGV 1 edition "" "" "OPTIONS;PACKAGE")
    ExternalProject_Add(${name}
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/${name}
        CONFIGURE_COMMAND ${in_release_environment} ${CMAKE_COMMAND} -S <SOURCE_DIR>
                          -B <BINARY_DIR> ${edition_options} ${edition_OPTIONS}
        # Built from clean every time: outputs that carry the release time (resources, archives)
        # would otherwise keep an earlier one.
        BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target clean
              COMMAND ${in_release_environment} ${CMAKE_COMMAND} --build <BINARY_DIR>
        ${edition_PACKAGE}
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        USES_TERMINAL_BUILD ON)
endfunction()

add_edition(linux
    PACKAGE COMMAND ${in_release_environment} ${CMAKE_CPACK_COMMAND} -G DEB
                    --config <BINARY_DIR>/CPackConfig.cmake -B <BINARY_DIR>)
add_edition(windows OPTIONS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake ${signing_options})
add_edition(web OPTIONS
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

set(version ${PROJECT_VERSION})
set(packages
    ${CMAKE_BINARY_DIR}/linux/velandra_${version}_amd64.deb
    ${CMAKE_BINARY_DIR}/windows/velandra-${version}-x64.msi
    ${CMAKE_BINARY_DIR}/windows/velandra-${version}-x64.zip
    ${CMAKE_BINARY_DIR}/web/velandra-${version}-web.zip)
if(VELANDRA_SIGNING_CERTIFICATE)
    set(signed "--signed-with=${VELANDRA_SIGNING_CERTIFICATE}")
endif()
add_custom_target(release ALL
    COMMAND ${in_release_environment} ${DEBIAN_PYTHON3}
            ${CMAKE_CURRENT_LIST_DIR}/gather.py --version ${version} --into ${CMAKE_BINARY_DIR}
            --linux-build ${CMAKE_BINARY_DIR}/linux ${signed} ${packages}
    DEPENDS linux windows web
    COMMENT "Gathering the release: packages, SHA256SUMS, bills of materials"
    VERBATIM)

add_subdirectory(${PROJECT_SOURCE_DIR}/tests/release ${CMAKE_BINARY_DIR}/tests)
