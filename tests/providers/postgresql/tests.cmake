# The PostgreSQL provider's tests. The ones against a server read its connection string from
# ORVANTA_TEST_POSTGRESQL (scripts/postgres-server.sh starts a throw-away server).
if(NOT ORVANTA_POSTGRESQL_BUILT)
    return()
endif()

orvanta_add_tests(postgresql_provider_tests LABEL provider:postgresql SOURCES
    providers/postgresql/fake_postgres_server.cpp
    providers/postgresql/session_test.cpp
    providers/postgresql/values_test.cpp)
target_include_directories(postgresql_provider_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/providers/postgresql)
