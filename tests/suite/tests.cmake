# The provider suite: every case against every engine this build and machine can reach, through
# the built library as a host loads it and through the object model.
set(suite_sources suite/dialects.cpp suite/provider_suite_test.cpp)
if(ORVANTA_ODBC_BUILT)
    list(APPEND suite_sources providers/odbc/test_drivers.cpp)
endif()
orvanta_add_tests(provider_suite_tests LABEL provider:suite SOURCES ${suite_sources} LIBRARIES ${CMAKE_DL_LIBS})
target_include_directories(provider_suite_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/providers)
target_compile_definitions(provider_suite_tests PRIVATE
    ORVANTA_LIBRARY_PATH="$<TARGET_FILE:${ORVANTA_LIBRARY}>"
    ORVANTA_SUITE_ODBC=$<BOOL:${ORVANTA_ODBC_BUILT}>
    ORVANTA_TEST_ODBC_SQLITE_DRIVER="$<$<BOOL:${ORVANTA_ODBC_SQLITE_DRIVER}>:${ORVANTA_ODBC_SQLITE_DRIVER}>"
    ORVANTA_TEST_ODBC_POSTGRESQL_DRIVER="$<$<BOOL:${ORVANTA_ODBC_POSTGRESQL_DRIVER}>:${ORVANTA_ODBC_POSTGRESQL_DRIVER}>")
add_dependencies(provider_suite_tests ${ORVANTA_LIBRARY})
