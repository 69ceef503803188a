# SPDX-License-Identifier: MIT
# Fails when the package's changelog, the metainfo's newest release or the manual page names
# another version than the build, whose version --version prints.
# usage: cmake -DSOURCE=<source folder> -DVERSION=<project version> -P versions.cmake
set(faults "")
function(expect_version file line_pattern version_pattern)
    file(STRINGS ${SOURCE}/${file} lines REGEX "${line_pattern}" LIMIT_COUNT 1)
    string(REGEX MATCH "${version_pattern}" _ "${lines}")
    if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
        list(APPEND faults "${file} names version \"${CMAKE_MATCH_1}\", the build ${VERSION}")
        set(faults "${faults}" PARENT_SCOPE)
    endif()
endfunction()

expect_version(debian/changelog "^picora3 " "^picora3 \\(([^)]*)\\)")
expect_version(packaging/example.picora3.Picora3.metainfo.xml "<release " "version=\"([^\"]*)\"")
expect_version(packaging/picora3.1 "^\\.TH " "\"picora3 ([^\"]*)\"")
if(faults)
    list(JOIN faults "\n" report)
    message(FATAL_ERROR "${report}")
endif()
