# Reads the include lines of every source file and fails when one breaks the folder layering:
# a folder includes only the folders before it, Qt stays in ui/, app/ and bench/, and rules/
# includes nothing but the standard library (its tests aside, which use GoogleTest).
#   cmake -DSOURCE_DIR=<tree> -P check_layers.cmake

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(layers rules storage einvoice framework windows editor component ui app bench)
set(qt_layers ui app bench)
set(standard_headers
    algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv
    chrono cinttypes climits clocale cmath codecvt compare complex concepts condition_variable
    coroutine csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar
    cwctype deque exception execution expected filesystem format forward_list fstream functional
    future initializer_list iomanip ios iosfwd iostream istream iterator latch limits list locale
    map memory memory_resource mutex new numbers numeric optional ostream queue random ranges
    ratio regex scoped_allocator semaphore set shared_mutex source_location span sstream stack
    stdexcept stop_token streambuf string string_view syncstream system_error thread tuple
    type_traits typeindex typeinfo unordered_map unordered_set utility valarray variant vector
    version)

set(broken 0)
foreach(layer IN LISTS layers)
    list(FIND layers ${layer} rank)
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.h
         ${SOURCE_DIR}/${layer}/*.hpp ${SOURCE_DIR}/${layer}/*.cpp)
    list(SORT files)
    foreach(file IN LISTS files)
        file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        set(is_test FALSE)
        if(file MATCHES "/tests/")
            set(is_test TRUE)
        endif()
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]*)[>\"].*" "\\1\\2"
                                 target "${line}")
            string(SUBSTRING "${target}" 0 1 bracket)
            string(SUBSTRING "${target}" 1 -1 header)
            if(bracket STREQUAL "\"")
                string(REGEX MATCH "^[^/]+" folder "${header}")
                list(FIND layers "${folder}" included_rank)
                if(included_rank GREATER rank)
                    message("${file}: includes ${header} from a later folder")
                    math(EXPR broken "${broken} + 1")
                elseif(layer STREQUAL "rules" AND NOT is_test AND NOT folder STREQUAL "rules")
                    message("${file}: \"${header}\" is not one of the rules")
                    math(EXPR broken "${broken} + 1")
                endif()
            elseif(header MATCHES "^(Q[A-Za-z]|qt)")
                list(FIND qt_layers ${layer} qt_allowed)
                if(qt_allowed EQUAL -1)
                    message("${file}: includes Qt (<${header}>) outside ui/, app/ and bench/")
                    math(EXPR broken "${broken} + 1")
                endif()
            elseif(layer STREQUAL "rules" AND NOT is_test)
                list(FIND standard_headers "${header}" standard)
                if(standard EQUAL -1)
                    message("${file}: <${header}> is not a standard header")
                    math(EXPR broken "${broken} + 1")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(broken GREATER 0)
    message(FATAL_ERROR "${broken} include rules broken")
endif()
message("include layering kept")
