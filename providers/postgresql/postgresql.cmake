# The PostgreSQL provider, through libpq. AUTO builds it when libpq is there and leaves it out,
# with a message, when it is not; ON insists on it.
set(ORVANTA_WITH_POSTGRESQL AUTO CACHE STRING "Build the PostgreSQL provider: ON, OFF or AUTO")
set_property(CACHE ORVANTA_WITH_POSTGRESQL PROPERTY STRINGS ON OFF AUTO)

# Debian has no i386 twin of libpq-dev, only the run-time library: the 32-bit build links that by
# its file name and takes the headers of the 64-bit package. They declare the same functions; the
# one type that differs (the 64-bit large-object offset) is in calls this provider never makes.
function(orvanta_find_libpq)
    find_path(ORVANTA_LIBPQ_INCLUDE_DIR libpq-fe.h PATH_SUFFIXES postgresql)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        find_library(ORVANTA_LIBPQ_LIBRARY NAMES pq)
    else()
        find_library(ORVANTA_LIBPQ_LIBRARY NAMES pq libpq.so.5)
    endif()
    if(ORVANTA_LIBPQ_INCLUDE_DIR AND ORVANTA_LIBPQ_LIBRARY)
        add_library(orvanta_libpq INTERFACE IMPORTED GLOBAL)
        set_target_properties(orvanta_libpq PROPERTIES
            INTERFACE_INCLUDE_DIRECTORIES "${ORVANTA_LIBPQ_INCLUDE_DIR}"
            INTERFACE_LINK_LIBRARIES "${ORVANTA_LIBPQ_LIBRARY}")
    endif()
endfunction()

set(orvanta_postgresql_found OFF)
string(TOUPPER "${ORVANTA_WITH_POSTGRESQL}" orvanta_postgresql_mode)
if(NOT orvanta_postgresql_mode STREQUAL "OFF")
    orvanta_find_libpq()
    if(TARGET orvanta_libpq)
        set(orvanta_postgresql_found ON)
    elseif(orvanta_postgresql_mode STREQUAL "AUTO")
        message(STATUS "PostgreSQL provider left out: libpq (libpq-dev) was not found")
    else()
        message(FATAL_ERROR "ORVANTA_WITH_POSTGRESQL is ON but libpq (libpq-dev; libpq5:i386 for 32 bits) was not found")
    endif()
endif()

# Read by tests/, a sibling directory.
set(ORVANTA_POSTGRESQL_BUILT ${orvanta_postgresql_found} CACHE INTERNAL "The PostgreSQL provider is built")

if(orvanta_postgresql_found)
    target_sources(orvanta_providers PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/cancel.cpp
        ${CMAKE_CURRENT_LIST_DIR}/errors.cpp
        ${CMAKE_CURRENT_LIST_DIR}/link.cpp
        ${CMAKE_CURRENT_LIST_DIR}/parameters.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rows.cpp
        ${CMAKE_CURRENT_LIST_DIR}/session.cpp
        ${CMAKE_CURRENT_LIST_DIR}/statement.cpp
        ${CMAKE_CURRENT_LIST_DIR}/types.cpp
        ${CMAKE_CURRENT_LIST_DIR}/values.cpp)
    target_compile_definitions(orvanta_providers PRIVATE ORVANTA_WITH_POSTGRESQL=1)
    target_link_libraries(orvanta_providers PUBLIC orvanta_libpq Threads::Threads)
endif()
