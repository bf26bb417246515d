// The result-set wrapper: one ADO Recordset over the shared connection, opened with a static
// client-side cursor, and a record of the last COM error it met.
#pragma once

#include <string>

#include <comptr.h>
#include <windows.h>

#include "ado/interfaces.h"
#include "database/ado_database.h"
#include "database/com_error.h"

class CADORecordset {
public:
    // Creates the Recordset object and takes a reference to the database's Connection object.
    explicit CADORecordset(const CADODatabase& database);
    virtual ~CADORecordset();
    CADORecordset(const CADORecordset&) = delete;
    CADORecordset& operator=(const CADORecordset&) = delete;

    // True when a result set is open. A COM error while opening is recorded and raised as
    // CADOException; a source that returns no rows gives false.
    bool Open(LPCWSTR query);
    bool IsConnectionOpen();
    bool IsOpen();
    LONG GetRecordCount();
    LONG GetFieldCount();
    void MoveFirst();
    void MoveNext();
    void Close();
    // One field of the current record as text; false, with `text` untouched, for a value of a
    // type that has no text. A COM error is recorded and raised as CADOException.
    bool GetFieldText(int index, std::u16string& text, std::u16string dateFormat);

    const std::u16string& GetLastError() const { return m_lastError; }
    HRESULT GetLastErrorCode() const { return m_lastErrorCode; }

private:
    [[noreturn]] void ReportComError(const ComError& error);

    ComPtr<_Recordset> m_recordset;
    ComPtr<_Connection> m_connection;
    std::u16string m_lastError;
    HRESULT m_lastErrorCode = 0;
    std::u16string m_query;
};
