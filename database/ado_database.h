// The connection wrapper: one ADO Connection object for the life of the wrapper.
#pragma once

#include <string>

#include <comptr.h>
#include <windows.h>

#include "ado/interfaces.h"

class CADODatabase {
public:
    CADODatabase();
    virtual ~CADODatabase();
    CADODatabase(const CADODatabase&) = delete;
    CADODatabase& operator=(const CADODatabase&) = delete;

    // 1 when ADO opened the connection. An empty (or null) string opens the last non-empty one again.
    int Open(LPCWSTR connectionString);
    // COM errors from reading the State or closing go to the caller.
    void Close();
    bool IsOpen();
    // 1 when the statement ran; its count is then in GetRecordsAffected().
    int Execute(LPCWSTR statement);

    ComPtr<_Connection> GetConnection() const { return m_connection; }
    LONG GetRecordsAffected() const { return m_recordsAffected; }

private:
    ComPtr<_Connection> m_connection;
    std::u16string m_connectionString;
    LONG m_recordsAffected = 0;

    // COM is uninitialised only where it was initialised: on the constructing thread, after a
    // successful CoInitialize.
    bool m_comInitialised = false;
    DWORD m_constructingThread = 0;
};
