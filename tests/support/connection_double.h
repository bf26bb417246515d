// A scripted Connection object for what a real engine will not show: failures of State, Open,
// Close and Execute, and Open answering S_FALSE.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "com/object.h"
#include "objects/unimplemented.h"
#include "support/com_testing.h"

namespace orvanta::testing {

struct ConnectionScript {
    HRESULT stateResult = S_OK;
    HRESULT openResult = S_OK;  // any success opens the connection
    HRESULT closeResult = S_OK;
    HRESULT cursorLocationResult = S_OK;
    HRESULT executeResult = S_OK;
    bool executeLeavesCountEmpty = false;
    LONG recordsAffected = 0;
    bool executeReturnsRecordset = false;

    LONG state = adStateClosed;
    std::vector<std::string> calls;
    std::u16string connectionString;
    std::u16string userId = u"<unset>";
    std::u16string password = u"<unset>";
    LONG openOptions = -99;
    LONG executeOptions = -99;
    std::u16string commandText = u"<unset>";
    bool commandTextWasNull = false;
    CursorLocationEnum cursorLocation = adUseServer;
    std::atomic<int> liveObjects = 0;
};

class ConnectionDouble final
    : public com::ComObject<ConnectionDouble, objects::UnimplementedConnection, ISupportErrorInfo> {
public:
    explicit ConnectionDouble(ConnectionScript& script) : m_script(script) { ++m_script.liveObjects; }
    ~ConnectionDouble() { --m_script.liveObjects; }

    HRESULT get_State(LONG* state) override;
    HRESULT Open(BSTR connectionString, BSTR userId, BSTR password, LONG options) override;
    HRESULT Close() override;
    HRESULT put_CursorLocation(CursorLocationEnum location) override;
    HRESULT Execute(BSTR commandText, VARIANT* recordsAffected, LONG options, _Recordset** recordset) override;
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    HRESULT Result(const char* call, HRESULT result);

    ConnectionScript& m_script;
};

// Makes CoCreateInstance of the Connection class build doubles that follow `script`.
class ScopedConnectionDouble {
public:
    explicit ScopedConnectionDouble(ConnectionScript& script);

private:
    ScopedClassOverride m_override;
};

}  // namespace orvanta::testing
