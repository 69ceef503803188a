# SPDX-License-Identifier: MIT
# Fails when a file includes a header of a folder that its own folder may not include, names a
# header of its own without its folder, or, in the folders that are standard C++, includes
# anything but the standard library. What each folder may include is the table in
# docs/architecture.md: the folders its arrows reach on the map. Only the system's own files
# of a seam (named *-posix.cpp, *-win32.cpp, *-icu.cpp) may include what their system offers.
# usage: cmake -DSOURCE=<source folder> -P layers.cmake
cmake_minimum_required(VERSION 3.25)
set(layers text catalogue platform forms app)
set(text_may_include "")
set(catalogue_may_include text)
set(platform_may_include "")
set(forms_may_include platform catalogue text)
set(app_may_include forms platform catalogue text)
set(standard_only text catalogue)

# The headers of the C++ standard library, which every system has.
set(standard_headers
    algorithm any array atomic bit bitset cassert cctype cerrno cfloat charconv chrono cinttypes
    climits clocale cmath compare concepts condition_variable csignal cstdarg cstddef cstdint
    cstdio cstdlib cstring ctime cwchar cwctype deque exception filesystem forward_list fstream
    functional future initializer_list iomanip ios iosfwd iostream istream iterator limits list
    locale map memory memory_resource mutex new numbers numeric optional ostream queue random
    ranges ratio regex set shared_mutex source_location span sstream stack stdexcept stop_token
    streambuf string string_view system_error thread tuple type_traits typeindex typeinfo
    unordered_map unordered_set utility valarray variant vector version)

set(faults "")
foreach(folder IN LISTS layers)
    # A folder that is not there would pass unread.
    if(NOT IS_DIRECTORY "${SOURCE}/${folder}")
        list(APPEND faults "${SOURCE} has no folder ${folder}/")
        continue()
    endif()
    file(GLOB sources RELATIVE ${SOURCE} ${SOURCE}/${folder}/*.h ${SOURCE}/${folder}/*.cpp)
    foreach(source IN LISTS sources)
        # Every spelling: blanks before and after the #, and either kind of brackets.
        file(STRINGS ${SOURCE}/${source} includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS includes)
            if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]*)[>\"]")
                list(APPEND faults "${source} has an include it cannot read: ${line}")
                continue()
            endif()
            set(bracket "${CMAKE_MATCH_1}")
            set(header "${CMAKE_MATCH_2}")
            string(REGEX REPLACE "/.*" "" included "${header}")
            if(header MATCHES "/" AND included IN_LIST layers)
                if(NOT included STREQUAL folder AND NOT included IN_LIST ${folder}_may_include)
                    list(APPEND faults
                         "${source} includes ${header}, which ${folder}/ may not include")
                endif()
            elseif(bracket STREQUAL "\"" AND NOT header MATCHES "/")
                list(APPEND faults "${source} includes \"${header}\" without its folder")
            elseif(bracket STREQUAL "\"")
                list(APPEND faults "${source} includes ${header}, from outside the layers")
            elseif(folder IN_LIST standard_only AND NOT header IN_LIST standard_headers AND
                   NOT source MATCHES "-(posix|win32|icu)\\.cpp$")
                list(APPEND faults
                     "${source} includes <${header}>, which is not the standard library")
            endif()
        endforeach()
    endforeach()
endforeach()
if(faults)
    # Indented, each fault stays on one line of the message.
    list(JOIN faults "\n  " report)
    message(FATAL_ERROR "Includes that break the layers:\n  ${report}")
endif()
list(LENGTH layers count)
message(STATUS "${count} layers: every include is one its folder may have")
