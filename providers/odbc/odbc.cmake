# The ODBC provider, through unixODBC. AUTO builds it when unixODBC is there and leaves it out,
# with a message, when it is not; ON insists on it.
set(ORVANTA_WITH_ODBC AUTO CACHE STRING "Build the ODBC provider: ON, OFF or AUTO")
set_property(CACHE ORVANTA_WITH_ODBC PROPERTY STRINGS ON OFF AUTO)

set(orvanta_odbc_found OFF)
string(TOUPPER "${ORVANTA_WITH_ODBC}" orvanta_odbc_mode)
if(orvanta_odbc_mode STREQUAL "AUTO")
    find_package(ODBC QUIET)
    if(ODBC_FOUND)
        set(orvanta_odbc_found ON)
    else()
        message(STATUS "ODBC provider left out: unixODBC (unixodbc-dev) was not found")
    endif()
elseif(ORVANTA_WITH_ODBC)
    find_package(ODBC REQUIRED)
    set(orvanta_odbc_found ON)
endif()

# Read by tests/, a sibling directory.
set(ORVANTA_ODBC_BUILT ${orvanta_odbc_found} CACHE INTERNAL "The ODBC provider is built")

if(orvanta_odbc_found)
    set_target_properties(ODBC::ODBC PROPERTIES IMPORTED_GLOBAL TRUE)
    target_sources(orvanta_providers PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/connection_text.cpp
        ${CMAKE_CURRENT_LIST_DIR}/errors.cpp
        ${CMAKE_CURRENT_LIST_DIR}/handle.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rows.cpp
        ${CMAKE_CURRENT_LIST_DIR}/session.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text.cpp
        ${CMAKE_CURRENT_LIST_DIR}/types.cpp)
    target_compile_definitions(orvanta_providers PRIVATE ORVANTA_WITH_ODBC=1)
    target_link_libraries(orvanta_providers PUBLIC ODBC::ODBC ${CMAKE_DL_LIBS})
endif()
