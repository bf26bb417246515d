#include "database/ado_database.h"

#include "database/bstr.h"
#include "database/com_error.h"

CADODatabase::CADODatabase() {
    m_comInitialised = SUCCEEDED(CoInitialize(nullptr));
    m_constructingThread = GetCurrentThreadId();

    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.ReleaseAndGetVoidAddress());
    if (SUCCEEDED(hr)) hr = OleRun(unknown.Get());
    if (SUCCEEDED(hr)) hr = unknown->QueryInterface(IID__Connection, m_connection.ReleaseAndGetVoidAddress());
    unknown.Reset();
    if (FAILED(hr)) m_connection.Reset();
}

CADODatabase::~CADODatabase() {
    // A failure to close cannot be reported from here; the Connection object is released anyway.
    try {
        Close();
    } catch (...) {
    }
    m_connection.Reset();
    if (m_comInitialised && GetCurrentThreadId() == m_constructingThread) CoUninitialize();
}

bool CADODatabase::IsOpen() {
    if (!m_connection) return false;
    LONG state = adStateClosed;
    ComCall(m_connection, &Connection15::get_State, &state);
    return state != adStateClosed;
}

void CADODatabase::Close() {
    if (!m_connection) return;
    LONG state = adStateClosed;
    ComCall(m_connection, &Connection15::get_State, &state);
    if (state != adStateClosed) ComCall(m_connection, &Connection15::Close);
}

int CADODatabase::Open(LPCWSTR connectionString) {
    if (IsOpen()) Close();
    if (connectionString && connectionString[0] != 0) m_connectionString = connectionString;

    try {
        if (!m_connection) throw ComError(E_POINTER, nullptr);
        const CBstr text(m_connectionString);
        const CBstr userId(u"");
        const CBstr password(u"");
        const HRESULT hr = ComCall(m_connection, &Connection15::Open, text.Get(), userId.Get(), password.Get(), 0);
        return hr == S_OK ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int CADODatabase::Execute(LPCWSTR statement) {
    VARIANT recordsAffected;
    VariantInit(&recordsAffected);
    m_recordsAffected = 0;

    try {
        if (!m_connection) throw ComError(E_POINTER, nullptr);
        ComCall(m_connection, &Connection15::put_CursorLocation, adUseClient);
        const CBstr text(statement);
        ComPtr<_Recordset> unread;
        ComCall(m_connection, &Connection15::Execute, text.Get(), &recordsAffected, LONG{adExecuteNoRecords},
                unread.GetAddressOf());
        unread.Reset();
        // A provider that leaves the count without a value reports it as unknown, as -1 means elsewhere.
        m_recordsAffected = recordsAffected.vt == VT_I4 ? recordsAffected.lVal : -1;
        VariantClear(&recordsAffected);
        return 1;
    } catch (...) {
        VariantClear(&recordsAffected);
        m_recordsAffected = 0;
        return 0;
    }
}
