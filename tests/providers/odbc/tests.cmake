# The ODBC provider's tests, with the driver libraries of this build's bitness named by path; the
# tests register them with unixODBC themselves.
if(NOT ORVANTA_ODBC_BUILT)
    return()
endif()

find_library(ORVANTA_ODBC_SQLITE_DRIVER NAMES libsqlite3odbc.so PATH_SUFFIXES odbc
             DOC "SQLite3 ODBC driver that the tests load")
find_library(ORVANTA_ODBC_POSTGRESQL_DRIVER NAMES psqlodbcw.so PATH_SUFFIXES odbc
             DOC "PostgreSQL ODBC driver (wide) that the tests load")

orvanta_add_tests(odbc_provider_tests LABEL provider:odbc SOURCES
    providers/odbc/connection_text_test.cpp
    providers/odbc/session_test.cpp
    providers/odbc/test_drivers.cpp
    providers/odbc/values_test.cpp
    LIBRARIES ODBC::ODBC)
target_include_directories(odbc_provider_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/providers)
target_compile_definitions(odbc_provider_tests PRIVATE
    ORVANTA_TEST_ODBC_SQLITE_DRIVER="$<$<BOOL:${ORVANTA_ODBC_SQLITE_DRIVER}>:${ORVANTA_ODBC_SQLITE_DRIVER}>"
    ORVANTA_TEST_ODBC_POSTGRESQL_DRIVER="$<$<BOOL:${ORVANTA_ODBC_POSTGRESQL_DRIVER}>:${ORVANTA_ODBC_POSTGRESQL_DRIVER}>")
